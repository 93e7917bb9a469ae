#include "runtime/win32/draw_panel.h"

#include <algorithm>
#include <cstring>

#include "capture/picture_bytes.h"

namespace moyuan::win32 {

namespace {
constexpr wchar_t kClassName[] = L"MoyuanDrawPanel";

COLORREF toColorRef(const Rgb& c) { return RGB(c.r, c.g, c.b); }

bool intersects(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

// The rectangles of a region, for painting it piece by piece.
std::vector<RECT> regionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return {};
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region, size, data) == 0) return {};
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return {rects, rects + data->rdh.nCount};
}
} // namespace

DrawPanel::DrawPanel(const ControlSpec& spec, HWND parent) : Control(spec) {
    registerClass(kClassName, nullptr);
    const PanelLook& look = spec.panel;
    pen_.reset(CreatePen(PS_SOLID, look.penWidth, toColorRef(look.penColor)));
    if (look.fillStyle != 0) brush_.reset(CreateSolidBrush(toColorRef(look.fillColor)));
    create(kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, spec.place.left, spec.place.top,
           spec.place.width, spec.place.height, parent,
           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)));
}

void DrawPanel::setPicture(std::span<const std::uint8_t> bytes) {
    picture_ = {};
    if (auto image = decodePicture(bytes)) picture_ = makeDib(*image);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void DrawPanel::clear() {
    if (!hwnd()) return;
    // The strips under the figures are invalidated; whatever else waits for a repaint (a
    // resize, an uncovered part) is painted in the same pass.
    for (const RECT& f : figures_)
        for (const RECT& piece : figurePieces(f)) InvalidateRect(hwnd(), &piece, FALSE);
    figures_.clear();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
}

void DrawPanel::drawRectangle(int x1, int y1, int x2, int y2) {
    if (!hwnd()) return;
    WindowDc dc = WindowDc::client(hwnd());
    if (!dc) return;
    Selection pen(dc.get(), pen_.get());
    Selection brush(dc.get(), brush_ ? static_cast<HGDIOBJ>(brush_.get()) : GetStockObject(HOLLOW_BRUSH));
    const int previousRop = SetROP2(dc.get(), spec().panel.drawMode + 1);
    const RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    Rectangle(dc.get(), r.left, r.top, r.right, r.bottom);
    SetROP2(dc.get(), previousRop);
    figures_.push_back(r);
}

void DrawPanel::paintArea(HDC dc, HDC pictureDc, const RECT& area) const {
    if (!picture_) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // Tiles repeat from the top-left without end, so they cover the whole area; only those
    // that meet it are drawn. A screen-sized picture is one tile.
    const int w = picture_.width, h = picture_.height;
    for (int ty = (area.top / h) * h; ty < area.bottom; ty += h)
        for (int tx = (area.left / w) * w; tx < area.right; tx += w) {
            const int l = std::max<int>(tx, area.left), t = std::max<int>(ty, area.top);
            const int r = std::min<int>(tx + w, area.right), b = std::min<int>(ty + h, area.bottom);
            BitBlt(dc, l, t, r - l, b - t, pictureDc, l - tx, t - ty, SRCCOPY);
        }
}

void DrawPanel::paint(HDC dc, HRGN updateRegion, const RECT& bounds) const {
    UniqueMemoryDc pictureDc;
    std::optional<Selection> selected;
    if (picture_) {
        pictureDc.reset(CreateCompatibleDC(dc));
        selected.emplace(pictureDc.get(), picture_.bitmap.get());
    }
    // Piece by piece, so the cost follows the area that needs it, not its bounding box.
    std::vector<RECT> pieces = updateRegion ? regionRects(updateRegion) : std::vector<RECT>{};
    if (pieces.empty()) pieces.push_back(bounds);
    for (const RECT& piece : pieces) paintArea(dc, pictureDc.get(), piece);
}

std::vector<RECT> DrawPanel::figurePieces(const RECT& f) const {
    if (brush_) return {f};
    // A hollow figure is only its outline: four strips, as wide as the pen on each side.
    const int pen = std::max(1, spec().panel.penWidth);
    return {{f.left - pen, f.top - pen, f.right + pen, f.top + pen},
            {f.left - pen, f.bottom - pen, f.right + pen, f.bottom + pen},
            {f.left - pen, f.top - pen, f.left + pen, f.bottom + pen},
            {f.right - pen, f.top - pen, f.right + pen, f.bottom + pen}};
}

bool DrawPanel::figureMeets(const RECT& area) const {
    for (const RECT& f : figures_)
        for (const RECT& piece : figurePieces(f))
            if (intersects(piece, area)) return true;
    return false;
}

std::optional<PictureBytes> DrawPanel::displayedPicture(const RECT& area) const {
    if (!picture_ || !hwnd() || figureMeets(area)) return std::nullopt;
    {
        // The bitmap holds 24-bit colour; a display with fewer colours shows something else.
        WindowDc screen = WindowDc::screen();
        if (!screen || GetDeviceCaps(screen.get(), BITSPIXEL) < 24) return std::nullopt;
    }
    DIBSECTION section{};
    if (GetObjectW(picture_.bitmap.get(), sizeof section, &section) != sizeof section ||
        !section.dsBm.bmBits)
        return std::nullopt;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return PictureBytes{};

    PictureBytes picture = makePictureBytes(width, height);
    std::uint8_t* rows = pictureRows(picture).data();
    const std::size_t stride = bmpStride(width);
    const auto* source = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    const std::size_t sourceStride = static_cast<std::size_t>(section.dsBm.bmWidthBytes);
    const int w = picture_.width, h = picture_.height;
    for (int row = 0; row < height; ++row) {
        // Rows bottom-up; the bitmap is top-down, 4 bytes a pixel, tiled without end.
        const int y = area.bottom - 1 - row;
        const std::uint8_t* line = source + sourceStride * static_cast<std::size_t>(((y % h) + h) % h);
        std::uint8_t* out = rows + stride * static_cast<std::size_t>(row);
        int x = area.left;
        while (x < area.right) {
            const int sx = ((x % w) + w) % w;
            const int run = std::min<int>(area.right - x, w - sx);
            const std::uint8_t* in = line + static_cast<std::size_t>(sx) * 4;
            for (int i = 0; i < run; ++i, in += 4, out += 3) std::memcpy(out, in, 3);
            x += run;
        }
    }
    return picture;
}

LRESULT DrawPanel::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    // The mouse events reach their handlers before the panel's own processing.
    case WM_LBUTTONDOWN: raise(EventCode::LeftPress, mouseArgsOf(wp, lp)); break;
    case WM_LBUTTONUP: raise(EventCode::LeftRelease, mouseArgsOf(wp, lp)); break;
    case WM_RBUTTONDOWN: raise(EventCode::RightPress, mouseArgsOf(wp, lp)); break;
    case WM_MOUSEMOVE: raise(EventCode::MouseMove, mouseArgsOf(wp, lp)); break;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(cursor());
            return TRUE;
        }
        break;
    case WM_ERASEBKGND: return 1; // the paint covers everything: no flash of the background
    case WM_PAINT: {
        UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
        if (update && GetUpdateRgn(hwnd(), update.get(), FALSE) == ERROR) update.reset();
        PaintDc paintDc(hwnd());
        paint(paintDc.get(), update.get(), paintDc.area());
        return 0;
    }
    case WM_SIZE: {
        // Figures outside the new size are gone from the screen.
        RECT client{0, 0, LOWORD(lp), HIWORD(lp)};
        std::erase_if(figures_, [&](const RECT& f) { return !intersects(f, client); });
        break;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace moyuan::win32
