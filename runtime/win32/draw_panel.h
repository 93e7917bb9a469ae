// A drawing panel: its background picture tiled from the top-left at natural size over the
// button-face colour, and figures drawn straight onto the screen that vanish at the next
// repaint or clear.
#pragma once

#include <optional>
#include <vector>

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
    // Repaints the panel from its picture so that earlier figures vanish. Only the pixels
    // the figures covered are repainted: everywhere else the screen shows the picture already.
    void clear();
    // GDI Rectangle with the panel's pen and brush, corners in any order.
    void drawRectangle(int x1, int y1, int x2, int y2);

    // The picture bytes of what the panel displays within the client rectangle, taken from
    // its own bitmap instead of the screen. Empty when the panel cannot tell (no picture, a
    // figure drawn into the area, or a display that shows fewer colours than the bitmap).
    std::optional<PictureBytes> displayedPicture(const RECT& area) const;

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    void paint(HDC dc, HRGN updateRegion, const RECT& bounds) const;
    void paintArea(HDC dc, HDC pictureDc, const RECT& area) const;
    // The pixels a figure covers, as rectangles.
    std::vector<RECT> figurePieces(const RECT& figure) const;
    bool figureMeets(const RECT& area) const;

    Dib picture_;
    UniquePen pen_;
    UniqueBrush brush_;
    std::vector<RECT> figures_; // where figures were drawn since the last repaint there
};

} // namespace moyuan::win32
