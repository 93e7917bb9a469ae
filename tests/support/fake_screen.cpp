#include "tests/support/fake_screen.h"

#include <algorithm>
#include <cstddef>

#include "capture/picture_bytes.h"

namespace moyuan::test {

namespace {

bool inside(const Bounds& area, int x, int y) {
    return x >= area.left && y >= area.top && x < area.left + area.width &&
           y < area.top + area.height;
}

void plot(Image& target, const Bounds& area, int x, int y, Rgb colour) {
    if (inside(area, x, y) && target.contains(x, y)) target.at(x, y) = colour;
}

} // namespace

void tileOnto(Image& target, const Image& tile, const Bounds& area) {
    if (tile.width <= 0 || tile.height <= 0) return;
    const int x0 = std::max(area.left, 0);
    const int y0 = std::max(area.top, 0);
    const int x1 = std::min(area.left + area.width, target.width);
    const int y1 = std::min(area.top + area.height, target.height);
    for (int y = y0; y < y1; ++y) {
        const Rgb* tileRow = &tile.at(0, (y - area.top) % tile.height);
        // Copy runs up to the tile's right edge, then start again at its left.
        for (int x = x0; x < x1;) {
            const int tx = (x - area.left) % tile.width;
            const int run = std::min(x1 - x, tile.width - tx);
            std::copy(tileRow + tx, tileRow + tx + run, &target.at(x, y));
            x += run;
        }
    }
}

void drawRectangleOnto(Image& target, const Bounds& area, const DrawnRectangle& rectangle,
                       Rgb pen, std::optional<Rgb> fill) {
    const int left = area.left + std::min(rectangle.x1, rectangle.x2);
    const int right = area.left + std::max(rectangle.x1, rectangle.x2); // excluded
    const int top = area.top + std::min(rectangle.y1, rectangle.y2);
    const int bottom = area.top + std::max(rectangle.y1, rectangle.y2); // excluded
    if (right <= left || bottom <= top) return;

    if (fill)
        for (int y = top + 1; y < bottom - 1; ++y)
            for (int x = left + 1; x < right - 1; ++x) plot(target, area, x, y, *fill);
    for (int x = left; x < right; ++x) {
        plot(target, area, x, top, pen);
        plot(target, area, x, bottom - 1, pen);
    }
    for (int y = top; y < bottom; ++y) {
        plot(target, area, left, y, pen);
        plot(target, area, right - 1, y, pen);
    }
}

PictureBytes encodeArea(const Image& image, const Bounds& area) {
    if (area.width <= 0 || area.height <= 0) return {};
    PictureBytes picture = makePictureBytes(area.width, area.height);
    const std::span<std::uint8_t> rows = pictureRows(picture);
    const std::size_t stride = bmpStride(area.width);
    for (int y = 0; y < area.height; ++y) {
        // Bottom row first.
        std::uint8_t* out = rows.data() + stride * static_cast<std::size_t>(area.height - 1 - y);
        for (int x = 0; x < area.width; ++x, out += 3) {
            const int sx = area.left + x;
            const int sy = area.top + y;
            const Rgb c = image.contains(sx, sy) ? image.at(sx, sy) : Rgb{};
            out[0] = c.b;
            out[1] = c.g;
            out[2] = c.r;
        }
    }
    return picture;
}

} // namespace moyuan::test
