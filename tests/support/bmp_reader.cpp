#include "tests/support/bmp_reader.h"

#include <cstddef>

namespace moyuan::test {

namespace {

std::uint32_t get16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t get32(std::span<const std::uint8_t> b, std::size_t at) {
    return get16(b, at) | get16(b, at + 2) << 16;
}

} // namespace

std::optional<Image> readBmp(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::size_t kInfoHeader = 40;
    if (bytes.size() < kFileHeader + kInfoHeader) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;

    const std::uint32_t pixelOffset = get32(bytes, 10);
    if (get32(bytes, kFileHeader) < kInfoHeader) return std::nullopt;
    // Width and height are signed; a negative height would mean top-down rows.
    const auto width = static_cast<std::int32_t>(get32(bytes, kFileHeader + 4));
    const auto height = static_cast<std::int32_t>(get32(bytes, kFileHeader + 8));
    const std::uint32_t bitsPerPixel = get16(bytes, kFileHeader + 14);
    const std::uint32_t compression = get32(bytes, kFileHeader + 16);
    if (width <= 0 || height <= 0 || bitsPerPixel != 24 || compression != 0) return std::nullopt;

    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    if (pixelOffset < kFileHeader + kInfoHeader ||
        bytes.size() < pixelOffset + stride * static_cast<std::size_t>(height))
        return std::nullopt;

    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        // The first stored row is the bottom one.
        const std::size_t row = pixelOffset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + 3 * static_cast<std::size_t>(x);
            image.at(x, y) = Rgb{bytes[p + 2], bytes[p + 1], bytes[p]};
        }
    }
    return image;
}

} // namespace moyuan::test
