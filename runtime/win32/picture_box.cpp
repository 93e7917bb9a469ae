#include "runtime/win32/picture_box.h"

namespace moyuan::win32 {

namespace {
constexpr wchar_t kClassName[] = L"MoyuanPictureBox";
}

PictureBox::PictureBox(const ControlSpec& spec, HWND parent)
    : Control(spec), background_(spec.background.value_or(Rgb{0, 0, 0})) {
    registerClass(kClassName, LoadCursorW(nullptr, IDC_ARROW));
    create(kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, spec.place.left, spec.place.top,
           spec.place.width, spec.place.height, parent,
           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)));
    if (!spec.picture.empty()) setPicture(spec.picture);
}

void PictureBox::setPicture(std::span<const std::uint8_t> bytes) {
    picture_ = {};
    if (auto image = decodePicture(bytes)) {
        blendOver(*image, background_.r, background_.g, background_.b);
        picture_ = makeDib(*image);
    }
    if (hwnd()) {
        InvalidateRect(hwnd(), nullptr, FALSE);
        UpdateWindow(hwnd());
    }
}

void PictureBox::paint(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (!picture_) {
        UniqueBrush brush(CreateSolidBrush(RGB(background_.r, background_.g, background_.b)));
        FillRect(dc, &client, brush.get());
        return;
    }
    // The stretched picture covers the whole box, so nothing is painted beneath it.
    const int mode = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 16 ? HALFTONE
                                                                                   : COLORONCOLOR;
    StretchModeScope stretch(dc, mode);
    if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
    UniqueMemoryDc mem(CreateCompatibleDC(dc));
    Selection bitmap(mem.get(), picture_.bitmap.get());
    StretchBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, picture_.width,
               picture_.height, SRCCOPY);
}

LRESULT PictureBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && cursorCode() != kCursorDefault) {
            SetCursor(cursor());
            return TRUE;
        }
        break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDc paintDc(hwnd());
        paint(paintDc.get());
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace moyuan::win32
