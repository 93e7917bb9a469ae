#include "runtime/win32/draw_panel.h"

#include <algorithm>

namespace moyuan::win32 {

namespace {
constexpr wchar_t kClassName[] = L"MoyuanDrawPanel";

COLORREF toColorRef(const Rgb& c) { return RGB(c.r, c.g, c.b); }
} // namespace

DrawPanel::DrawPanel(const ControlSpec& spec, HWND parent) : Control(spec) {
    registerClass(kClassName, nullptr);
    const PanelLook& look = spec.panel;
    pen_.reset(CreatePen(PS_SOLID, look.penWidth,
                         toColorRef(look.penColor)));
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
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void DrawPanel::drawRectangle(int x1, int y1, int x2, int y2) {
    if (!hwnd()) return;
    WindowDc dc = WindowDc::client(hwnd());
    if (!dc) return;
    Selection pen(dc.get(), pen_.get());
    Selection brush(dc.get(), brush_ ? static_cast<HGDIOBJ>(brush_.get()) : GetStockObject(HOLLOW_BRUSH));
    const int previousRop = SetROP2(dc.get(), spec().panel.drawMode + 1);
    Rectangle(dc.get(), std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    SetROP2(dc.get(), previousRop);
}

void DrawPanel::paintBackground(HDC dc, const RECT& area) const {
    // Tiles repeat without end, so a picture covers the whole area; without one the panel
    // shows the button-face colour.
    if (picture_) {
        UniqueMemoryDc mem(CreateCompatibleDC(dc));
        Selection bitmap(mem.get(), picture_.bitmap.get());
        // Tiles from the top-left at natural size; only those meeting the area are drawn.
        const int firstCol = area.left / picture_.width, firstRow = area.top / picture_.height;
        for (int ty = firstRow * picture_.height; ty < area.bottom; ty += picture_.height)
            for (int tx = firstCol * picture_.width; tx < area.right; tx += picture_.width) {
                const int l = std::max<int>(tx, area.left), t = std::max<int>(ty, area.top);
                const int r = std::min<int>(tx + picture_.width, area.right);
                const int b = std::min<int>(ty + picture_.height, area.bottom);
                BitBlt(dc, l, t, r - l, b - t, mem.get(), l - tx, t - ty, SRCCOPY);
            }
    } else {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    }
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
        PaintDc paint(hwnd());
        paintBackground(paint.get(), paint.area());
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace moyuan::win32
