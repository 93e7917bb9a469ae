// A drawing panel: its background picture tiled from the top-left at natural size over the
// button-face colour, and figures drawn straight onto the screen that vanish at the next
// repaint or clear.
#pragma once

#include "runtime/win32/base_window.h"
#include "runtime/win32/control.h"
#include "runtime/win32/dib.h"

namespace moyuan::win32 {

class DrawPanel final : public BaseWindow<DrawPanel>, public Control {
public:
    DrawPanel(const ControlSpec& spec, HWND parent);
    HWND window() const override { return hwnd(); }

    // Keeps its own copy of the picture, made into a bitmap once, here.
    void setPicture(std::span<const std::uint8_t> bytes);
    // Repaints the whole panel from the picture; earlier figures vanish.
    void clear();
    // GDI Rectangle with the panel's pen and brush, corners in any order.
    void drawRectangle(int x1, int y1, int x2, int y2);

    // Paints the panel's background (picture and colour) into a device context whose origin
    // is the panel's top-left, clipped to the given client rectangle.
    void paintBackground(HDC dc, const RECT& area) const;

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    Dib picture_;
    UniquePen pen_;
    UniqueBrush brush_;
};

} // namespace moyuan::win32
