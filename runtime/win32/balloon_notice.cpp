// The notice balloon is a layered popup that never paints: each show renders the whole
// balloon, shadow included, into a 32-bit bitmap and hands it to UpdateLayeredWindow.
//
// The balloon's see-through and its soft shadow are blended here, over a copy of what the
// screen shows where the balloon goes, rather than left to the system as per-pixel alpha:
// where layered windows are not composited (Wine on an X server without a compositing
// manager), per-pixel alpha and SetLayeredWindowAttributes' constant alpha both come out
// opaque, the shadow as solid black. So every pixel the balloon touches is sent opaque with
// its finished colour, every other pixel fully transparent, which gives the window its shape
// everywhere alike. What lies beneath is read once per show; the notice goes away at the
// user's next click or key press, long before a change beneath could be noticed.
#include "runtime/win32/balloon_notice.h"
#include "runtime/win32/dib.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace moyuan::win32 {

namespace {

constexpr wchar_t kClassName[] = L"MoyuanBalloonNotice";
constexpr wchar_t kFaceName[] = L"\u5B8B\u4F53"; // 宋体 (SimSun)
constexpr int kPointSize = 9;
constexpr int kBlurReach = kBalloonShadowBlur / 2;
constexpr int kBlurArea = kBalloonShadowBlur * kBalloonShadowBlur;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS;

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// Whether the pixel at (x, y) counted from the body's top-left lies inside the rounded
// rectangle of w x h. Each corner is a quarter of a 16 x 16 ellipse; a pixel belongs to it
// when its centre does.
bool insideRoundedBody(int x, int y, int w, int h) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    constexpr int radius = kBalloonCorner / 2;
    const int cx = std::min(x, w - 1 - x);
    const int cy = std::min(y, h - 1 - y);
    if (cx >= radius || cy >= radius) return true;
    // In half pixels: the centre (cx + 1/2, cy + 1/2) against the circle about (r, r).
    const int dx = 2 * cx + 1 - 2 * radius;
    const int dy = 2 * cy + 1 - 2 * radius;
    return dx * dx + dy * dy <= 4 * radius * radius;
}

// Whether the pixel (x, y) lies in the tail, outside the body.
bool insideTail(const BalloonLayout& layout, int x, int y) {
    const POINT tip = layout.tail[0];
    const int along = layout.below ? y - tip.y : tip.y - y;  // 0 at the tip
    const int across = layout.tailRight ? tip.x - x : x - tip.x; // 0 on the upright side
    if (along < 0 || along >= kBalloonTailLength || across < 0) return false;
    return across * kBalloonTailLength <= along * kBalloonTailBase;
}

struct Bgra {
    std::uint8_t b, g, r, a;
};
static_assert(sizeof(Bgra) == sizeof(std::uint32_t));

Bgra opaque(COLORREF c) { return {GetBValue(c), GetGValue(c), GetRValue(c), 255}; }

// A 32-bit DIB pixel as a number: blue in the low byte.
Bgra unpack(std::uint32_t p) {
    return {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 24)};
}

// `over` laid over `under` with `alpha` of 255 * 255, rounded.
std::uint8_t blendChannel(int over, int under, int alpha) {
    constexpr int full = 255 * 255;
    return static_cast<std::uint8_t>((over * alpha + under * (full - alpha) + full / 2) / full);
}

// The balloon's finished pixels, `w` x `h`, row by row from the top. `painted` holds the
// body's background and text as GDI drew them (only their colours count: GDI leaves alpha
// undefined), `beneath` what the screen shows under the window. The body is opaque over its
// shadow, and the whole is laid over `beneath` at kBalloonOpacity. A pixel the balloon
// touches at all comes out opaque with the blended colour; any other comes out fully
// transparent, so the window's shape is the balloon's.
void compose(const BalloonLayout& layout, const Bgra* painted, const std::uint32_t* beneath,
             Bgra* out) {
    const int w = width(layout.window);
    const int h = height(layout.window);
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };

    std::vector<std::uint8_t> shape(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            shape[at(x, y)] = balloonCovers(layout, layout.window.left + x, layout.window.top + y);
    const auto covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && shape[at(x, y)] != 0;
    };

    // The shadow is the shape moved by its offset and box-blurred: first the count of covered
    // pixels in each row's stretch of kBalloonShadowBlur, then those counts summed down each
    // column's stretch give how many of the kBlurArea pixels around a pixel it covers.
    std::vector<int> rowCount(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int n = 0;
            for (int dx = -kBlurReach; dx <= kBlurReach; ++dx)
                n += covered(x + dx - kBalloonShadowDx, y - kBalloonShadowDy) ? 1 : 0;
            rowCount[at(x, y)] = n;
        }

    const Bgra border = opaque(GetSysColor(COLOR_INFOTEXT));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgra under = unpack(beneath[at(x, y)]);
            Bgra own{};
            int alpha = 0; // of 255 * 255
            if (covered(x, y)) {
                const bool edge = !covered(x - 1, y) || !covered(x + 1, y) ||
                                  !covered(x, y - 1) || !covered(x, y + 1);
                own = edge ? border : painted[at(x, y)];
                alpha = 255 * kBalloonOpacity;
            } else {
                int n = 0;
                for (int dy = -kBlurReach; dy <= kBlurReach; ++dy)
                    if (y + dy >= 0 && y + dy < h) n += rowCount[at(x, y + dy)];
                // The shadow is black; its alpha is n / kBlurArea of its darkness.
                alpha = (255 * kBalloonShadowPercent * n * kBalloonOpacity + 50 * kBlurArea) /
                        (100 * kBlurArea);
            }
            out[at(x, y)] = alpha == 0 ? Bgra{0, 0, 0, 0}
                                       : Bgra{blendChannel(own.b, under.b, alpha),
                                              blendChannel(own.g, under.g, alpha),
                                              blendChannel(own.r, under.r, alpha), 255};
        }
}

// The extent DrawTextW gives the text in the font, lines and tabs included.
SIZE measureText(HDC dc, std::wstring_view text) {
    if (text.empty()) return {0, 0};
    RECT r{};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, kTextFormat | DT_CALCRECT);
    return {width(r), height(r)};
}

} // namespace

BalloonLayout layoutBalloon(SIZE textExtent, POINT tip, SIZE screen) {
    const int bodyW = std::max<int>(textExtent.cx + 2 * kBalloonMargin, kBalloonMinWidth);
    const int bodyH = textExtent.cy + 2 * kBalloonMargin;

    BalloonLayout layout;
    // The tip is kBalloonTailInset columns in from the body's first or last column, and
    // kBalloonTailLength rows beyond its last or first row.
    layout.tailRight = tip.x - kBalloonTailInset + bodyW > screen.cx;
    layout.body.left = layout.tailRight ? tip.x + kBalloonTailInset + 1 - bodyW
                                        : tip.x - kBalloonTailInset;
    const int topAbove = tip.y - kBalloonTailLength + 1 - bodyH;
    layout.below = topAbove < 0;
    layout.body.top = layout.below ? tip.y + kBalloonTailLength : topAbove;
    layout.body.right = layout.body.left + bodyW;
    layout.body.bottom = layout.body.top + bodyH;

    const LONG edgeRow = layout.below ? layout.body.top : layout.body.bottom - 1;
    const LONG baseEnd = layout.tailRight ? tip.x - kBalloonTailBase : tip.x + kBalloonTailBase;
    layout.tail[0] = tip;
    layout.tail[1] = {tip.x, edgeRow};
    layout.tail[2] = {baseEnd, edgeRow};

    // Body and tail, then the room their shadow takes beyond them.
    RECT shape = layout.body;
    shape.left = std::min({shape.left, tip.x, baseEnd});
    shape.right = std::max({shape.right, tip.x + 1, baseEnd + 1});
    shape.top = std::min(shape.top, tip.y);
    shape.bottom = std::max(shape.bottom, tip.y + 1);
    layout.window = {shape.left + std::min(0, kBalloonShadowDx - kBlurReach),
                     shape.top + std::min(0, kBalloonShadowDy - kBlurReach),
                     shape.right + std::max(0, kBalloonShadowDx + kBlurReach),
                     shape.bottom + std::max(0, kBalloonShadowDy + kBlurReach)};
    return layout;
}

bool balloonCovers(const BalloonLayout& layout, int x, int y) {
    return insideRoundedBody(x - layout.body.left, y - layout.body.top, width(layout.body),
                             height(layout.body)) ||
           insideTail(layout, x, y);
}

BalloonNotice::BalloonNotice(HWND owner) : owner_(owner) {
    const WindowDc screen = WindowDc::screen();
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    font_.reset(CreateFontW(-MulDiv(kPointSize, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFaceName));
    ensureWindow();
}

bool BalloonNotice::ensureWindow() {
    if (hwnd()) return true;
    registerClass(kClassName, LoadCursorW(nullptr, IDC_ARROW));
    create(kClassName, L"", WS_POPUP,
           WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, 0, 0, 0, 0,
           owner_, nullptr);
    return hwnd() != nullptr;
}

void BalloonNotice::show(int tipX, int tipY, std::wstring_view text) {
    // A notice that could not be shown must not leave the one before it standing.
    if (!present(tipX, tipY, text)) hide();
}

bool BalloonNotice::present(int tipX, int tipY, std::wstring_view text) {
    if (!ensureWindow()) return false;
    const WindowDc screen = WindowDc::screen();
    if (!screen) return false;
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return false;

    SIZE extent{};
    {
        const Selection font(memory.get(), font_.get());
        extent = measureText(memory.get(), text);
    }
    const BalloonLayout layout = layoutBalloon(
        extent, {tipX, tipY}, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    const int w = width(layout.window);
    const int h = height(layout.window);
    const std::size_t count = static_cast<std::size_t>(w) * h;

    BITMAPINFO info = topDownInfo32(w, h);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    const Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return false;
    auto* pixels = static_cast<Bgra*>(bits);

    // What the screen shows where the balloon goes. Where the notice shown now covers it,
    // the screen shows the notice itself, so there what lay beneath that notice counts.
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), layout.window.left, layout.window.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> beneath(count);
    std::memcpy(beneath.data(), bits, count * sizeof(std::uint32_t));
    if (isShown()) {
        const int oldW = width(shownPlace_);
        const int oldH = height(shownPlace_);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int ox = layout.window.left + x - shownPlace_.left;
                const int oy = layout.window.top + y - shownPlace_.top;
                if (ox < 0 || oy < 0 || ox >= oldW || oy >= oldH) continue;
                const std::size_t old = static_cast<std::size_t>(oy) * oldW + ox;
                if (shownOpaque_[old])
                    beneath[static_cast<std::size_t>(y) * w + x] = shownBeneath_[old];
            }
    }

    // The body's background everywhere, the text on it without a background of its own.
    {
        RECT all{0, 0, w, h};
        FillRect(memory.get(), &all, GetSysColorBrush(COLOR_INFOBK));
        const Selection font(memory.get(), font_.get());
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), GetSysColor(COLOR_INFOTEXT));
        RECT textRect{layout.body.left - layout.window.left + kBalloonMargin,
                      layout.body.top - layout.window.top + kBalloonMargin, 0, 0};
        textRect.right = textRect.left + extent.cx;
        textRect.bottom = textRect.top + extent.cy;
        if (!text.empty())
            DrawTextW(memory.get(), text.data(), static_cast<int>(text.size()), &textRect,
                      kTextFormat | DT_NOCLIP);
        GdiFlush();
    }
    const std::vector<Bgra> painted(pixels, pixels + count);
    compose(layout, painted.data(), beneath.data(), pixels);

    POINT source{0, 0};
    POINT place{layout.window.left, layout.window.top};
    SIZE size{w, h};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(hwnd(), screen.get(), &place, &size, memory.get(), &source, 0, &blend,
                             ULW_ALPHA))
        return false;
    shownPlace_ = layout.window;
    shownOpaque_.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) shownOpaque_[i] = pixels[i].a != 0;
    shownBeneath_ = std::move(beneath);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

void BalloonNotice::hide() {
    if (hwnd() && IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
}

bool BalloonNotice::isShown() const { return hwnd() && IsWindowVisible(hwnd()); }

void BalloonNotice::observe(const MSG& msg) {
    switch (msg.message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN: case WM_NCXBUTTONDBLCLK:
    case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL:
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        hide();
        break;
    default:
        break;
    }
}

void BalloonNotice::ownerDeactivated() { hide(); }

LRESULT BalloonNotice::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // A click on the balloon must not take the activation from the program's window.
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return defaultProc(msg, wp, lp);
}

} // namespace moyuan::win32
