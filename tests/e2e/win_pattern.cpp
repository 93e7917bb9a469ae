// A helper for the end-to-end tests: a borderless window over the whole screen painted with a
// known pattern, so that captures can be checked pixel by pixel. Neighbouring pixels always
// differ (red follows x, green follows y) and no pixel is pure red, the rubber band's colour.
#include <windows.h>

#include <vector>

#include "runtime/win32/dib.h"
#include "runtime/win32/scoped_win.h"

namespace {

COLORREF patternAt(int x, int y) {
    const int r = x % 256, g = y % 256, b = ((x * 3 + y * 5) % 256) | 1;
    return RGB(r, g, b);
}

// The whole screen's pattern, computed once: every repaint only blits it.
const std::vector<DWORD>& screenPattern() {
    static const std::vector<DWORD> pixels = [] {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        std::vector<DWORD> p(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = patternAt(x, y);
                p[static_cast<size_t>(y) * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        return p;
    }();
    return pixels;
}

void paint(HWND hwnd) {
    const moyuan::win32::PaintDc dc(hwnd);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const BITMAPINFO info = moyuan::win32::topDownInfo32(w, h);
    SetDIBitsToDevice(dc.get(), 0, 0, w, h, 0, 0, 0, h, screenPattern().data(), &info, DIB_RGB_COLORS);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"MoyuanTestPattern";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"pattern", WS_POPUP, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
