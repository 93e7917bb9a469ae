#include "runtime/win32/window_geometry.h"

#include <algorithm>

namespace moyuan::win32 {

Bounds outerBounds(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void setOuterBounds(HWND hwnd, const Bounds& b) {
    SetWindowPos(hwnd, nullptr, b.left, b.top, std::max(0, b.width), std::max(0, b.height),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

int readEdge(HWND hwnd, Edge edge) {
    const Bounds b = outerBounds(hwnd);
    switch (edge) {
    case Edge::Left: return b.left;
    case Edge::Top: return b.top;
    case Edge::Width: return b.width;
    case Edge::Height: return b.height;
    }
    return 0;
}

void writeEdge(HWND hwnd, Edge edge, int value) {
    const Bounds b = outerBounds(hwnd);
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    switch (edge) {
    case Edge::Left: SetWindowPos(hwnd, nullptr, value, b.top, 0, 0, keep | SWP_NOSIZE); break;
    case Edge::Top: SetWindowPos(hwnd, nullptr, b.left, value, 0, 0, keep | SWP_NOSIZE); break;
    case Edge::Width:
        SetWindowPos(hwnd, nullptr, 0, 0, std::max(0, value), b.height, keep | SWP_NOMOVE);
        break;
    case Edge::Height:
        SetWindowPos(hwnd, nullptr, 0, 0, b.width, std::max(0, value), keep | SWP_NOMOVE);
        break;
    }
}

bool ownVisibleFlag(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

} // namespace moyuan::win32
