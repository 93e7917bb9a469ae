// The balloon in which the program shows short notices: a rounded body with the text, a
// tail whose tip points at a place on the screen, a soft shadow, slightly see-through. It
// shows at once, never takes the focus, and goes away at the user's next click, wheel turn
// or key press, or when the program loses activation.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win32/base_window.h"
#include "runtime/win32/scoped_win.h"

namespace moyuan::win32 {

// The balloon's measures, in pixels.
inline constexpr int kBalloonMargin = 12;        // between the text and the body's edge
inline constexpr int kBalloonCorner = 16;        // the corners' ellipse is this wide and high
inline constexpr int kBalloonTailBase = 12;      // the tail's width where it meets the body
inline constexpr int kBalloonTailLength = 16;    // from the body's edge row to the tip
inline constexpr int kBalloonTailInset = 16;     // from the body's end column to the tip
inline constexpr int kBalloonShadowDx = 5;       // the shadow lies this far right...
inline constexpr int kBalloonShadowDy = 3;       // ...and this far down
inline constexpr int kBalloonShadowBlur = 7;     // box blur, this many pixels square
inline constexpr int kBalloonShadowPercent = 60; // the shadow's darkness at its core
inline constexpr BYTE kBalloonOpacity = 230;     // of 255: the whole balloon, 10 % see-through
// The tail sits on the flat part of the edge even under the shortest text.
inline constexpr int kBalloonMinWidth = 2 * kBalloonTailInset + kBalloonTailBase;

// Where the parts of a balloon go, in screen coordinates. Rectangles leave out their right
// and bottom edges, as Win32 rectangles do.
//
// The tail is a right-angled triangle. Its upright side runs straight from the tip to the
// body, 16 columns in from the body's end; its base lies on the body's edge row and reaches
// 12 pixels from there toward the body's middle. So with the body above the point and the
// tail at its left end, the tail's corners are the tip (x, y), (x, y - 16) and
// (x + 12, y - 16), where x = body.left + 16 and y - 16 = body.bottom - 1, the body's last
// row: the tail fills the 16 rows under the body, 12 pixels wide next to it, 1 at the tip.
// The other placements are mirror images of this one.
struct BalloonLayout {
    RECT body{};        // the rounded rectangle, border included
    POINT tail[3]{};    // the tip; the base corner on the upright side; the other base corner
    RECT window{};      // body, tail and shadow: the balloon window's place
    bool below = false; // the body lies below the point, the tail on its top edge
    bool tailRight = false; // the tail sits at the body's right end
};

// Places a balloon around text of that extent so that its tip is the pixel `tip`. The body
// goes above the point with the tail at its left end; it moves below the point when above it
// would leave the screen at the top, and the tail moves to the right end when the body would
// leave the screen on the right.
BalloonLayout layoutBalloon(SIZE textExtent, POINT tip, SIZE screen);

// Whether the pixel (x, y), in screen coordinates, belongs to the body or the tail.
bool balloonCovers(const BalloonLayout& layout, int x, int y);

class BalloonNotice final : public BaseWindow<BalloonNotice> {
public:
    // The balloon is a popup owned by `owner`, the program's main window.
    explicit BalloonNotice(HWND owner);

    // Shows `text` with the tail's tip at the screen pixel (tipX, tipY), in place of any
    // notice shown before.
    void show(int tipX, int tipY, std::wstring_view text);
    void hide();
    bool isShown() const;
    HWND window() const { return hwnd(); }

    // Every message the program's message loops take from the queue passes here first. A
    // mouse button pressed anywhere in the program, a wheel turned or a key pressed hides
    // the notice. The message goes on as it was.
    void observe(const MSG& msg);

    // The program lost activation.
    void ownerDeactivated();

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    bool ensureWindow();
    bool present(int tipX, int tipY, std::wstring_view text);

    HWND owner_;
    UniqueFont font_;
    // The notice on screen: its window's place, what the screen showed beneath each of its
    // pixels (32-bit BGRA, row by row) and which of its pixels hide the screen.
    RECT shownPlace_{};
    std::vector<std::uint32_t> shownBeneath_;
    std::vector<bool> shownOpaque_;
};

} // namespace moyuan::win32
