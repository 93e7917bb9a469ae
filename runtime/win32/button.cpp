#include "runtime/win32/button.h"

#include <commctrl.h>

#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {

Button::Button(const ControlSpec& spec, HWND parent) : Control(spec) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    if (spec.tabStop) style |= WS_TABSTOP;
    const std::wstring caption = gbkToWide(spec.text);
    hwnd_ = CreateWindowExW(0, L"BUTTON", caption.c_str(), style, spec.place.left, spec.place.top,
                            spec.place.width, spec.place.height, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)),
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowSubclass(hwnd_, &Button::subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

Button::~Button() {
    if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &Button::subclassProc, 1);
}

LRESULT CALLBACK Button::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR self) {
    auto* button = reinterpret_cast<Button*>(self);
    switch (msg) {
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && button->cursorCode() != kCursorDefault) {
            SetCursor(button->cursor());
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &Button::subclassProc, 1);
        button->hwnd_ = nullptr;
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace moyuan::win32
