// The notice balloon: where its parts go, what it puts on the screen, when it goes away, and
// that it neither takes the focus nor keeps GDI objects.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/gdi_slots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/win32/balloon_notice.h"
#include "runtime/win32/scoped_win.h"
#include "runtime/win32/dib.h"

namespace {

using moyuan::win32::BalloonLayout;
using moyuan::win32::BalloonNotice;
using moyuan::win32::balloonCovers;
using moyuan::win32::layoutBalloon;
using moyuan::win32::kBalloonMinWidth;
using moyuan::win32::kBalloonOpacity;
using moyuan::win32::kBalloonShadowPercent;

std::string describe(const RECT& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// --- Layout ---------------------------------------------------------------------------------

constexpr SIZE kScreen{1024, 768};
constexpr SIZE kExtent{84, 12}; // a body of 108 x 36

struct Placement {
    const char* name;
    POINT tip;
    bool below;
    bool tailRight;
};

// With kExtent on kScreen the body fits on the right while its right edge is at most 1024,
// that is for tip.x <= 1024 - 108 + 16 = 932, and fits above while its top is at least 0,
// that is for tip.y >= 36 + 15 = 51.
constexpr Placement kPlacements[] = {
    {"middle of the screen", {500, 400}, false, false},
    {"body's right edge on the screen's", {932, 400}, false, false},
    {"one pixel further right", {933, 400}, false, true},
    {"near the right edge", {1000, 400}, false, true},
    {"body's top on the screen's", {500, 51}, false, false},
    {"one pixel higher", {500, 50}, true, false},
    {"near the top", {500, 3}, true, false},
    {"top-right corner", {1007, 2}, true, true},
};

TEST(BalloonLayout, PutsTheTipAtThePointAndFlipsAtTheScreensRightAndTopEdges) {
    for (const Placement& c : kPlacements) {
        SCOPED_TRACE(c.name);
        const BalloonLayout l = layoutBalloon(kExtent, c.tip, kScreen);
        EXPECT_EQ(l.below, c.below);
        EXPECT_EQ(l.tailRight, c.tailRight);
        // The body holds the text with 12 pixels all round.
        EXPECT_EQ(l.body.right - l.body.left, kExtent.cx + 24);
        EXPECT_EQ(l.body.bottom - l.body.top, kExtent.cy + 24);
        // The tip is 16 columns in from the body's end and 16 rows beyond its edge row.
        EXPECT_EQ(l.tail[0].x, c.tip.x);
        EXPECT_EQ(l.tail[0].y, c.tip.y);
        if (c.tailRight)
            EXPECT_EQ(l.body.right - 1 - 16, c.tip.x);
        else
            EXPECT_EQ(l.body.left + 16, c.tip.x);
        const LONG edgeRow = c.below ? l.body.top : l.body.bottom - 1;
        EXPECT_EQ(c.below ? edgeRow - 16 : edgeRow + 16, c.tip.y);
        // The base: straight from the tip to the edge row, then 12 toward the body's middle.
        EXPECT_EQ(l.tail[1].x, c.tip.x);
        EXPECT_EQ(l.tail[1].y, edgeRow);
        EXPECT_EQ(l.tail[2].x, c.tailRight ? c.tip.x - 12 : c.tip.x + 12);
        EXPECT_EQ(l.tail[2].y, edgeRow);
        // Moved away from an edge, the body stays on the screen on that side.
        if (c.tailRight) {
            EXPECT_LE(l.body.right, kScreen.cx);
        }
        if (c.below) {
            EXPECT_GE(l.body.top, 0);
        }
        // The window: body and tail, 8 more to the right and 6 more down for the shadow,
        // which lies 5 right and 3 down and spreads 3 each way.
        const RECT shape{l.body.left, std::min(l.body.top, c.tip.y), l.body.right,
                         std::max(l.body.bottom, c.tip.y + 1)};
        const RECT expected{shape.left, shape.top, shape.right + 8, shape.bottom + 6};
        EXPECT_TRUE(sameRect(l.window, expected))
            << describe(l.window) << " expected " << describe(expected);
    }
}

TEST(BalloonLayout, GivesTheMiddleOfTheScreenItsExactPlaces) {
    // Worked out by hand from the measures: above the point, tail on the left.
    const BalloonLayout l = layoutBalloon({60, 24}, {300, 200}, kScreen);
    EXPECT_TRUE(sameRect(l.body, RECT{284, 137, 368, 185})) << describe(l.body);
    EXPECT_TRUE(sameRect(l.window, RECT{284, 137, 376, 207})) << describe(l.window);
}

TEST(BalloonLayout, KeepsRoomForTheTailUnderTheShortestText) {
    for (const SIZE extent : {SIZE{0, 0}, SIZE{8, 12}, SIZE{20, 12}}) {
        const BalloonLayout l = layoutBalloon(extent, {500, 400}, kScreen);
        EXPECT_EQ(l.body.right - l.body.left, kBalloonMinWidth) << extent.cx;
        EXPECT_EQ(l.body.bottom - l.body.top, extent.cy + 24) << extent.cx;
    }
    const BalloonLayout wider = layoutBalloon({21, 12}, {500, 400}, kScreen);
    EXPECT_EQ(wider.body.right - wider.body.left, 45);
}

// A pixel given from the tip: `across` columns toward the body's middle, `along` rows
// toward the body. The same offsets must give the same answer in every placement.
POINT fromTip(const BalloonLayout& l, int across, int along) {
    return {l.tail[0].x + (l.tailRight ? -across : across),
            l.tail[0].y + (l.below ? along : -along)};
}

TEST(BalloonLayout, TailAndBodyCoverTheSamePixelsInEveryPlacement) {
    struct Pixel {
        const char* what;
        int across, along;
        bool covered;
    };
    const Pixel pixels[] = {
        {"tip", 0, 0, true},
        {"beyond the tip", 0, -1, false},
        {"outside the upright side at the tip", -1, 0, false},
        {"beside the tip", 1, 0, false},
        {"upright side next to the body", 0, 15, true},
        {"outside the upright side next to the body", -1, 15, false},
        {"last tail pixel next to the body (12 wide)", 11, 15, true},
        {"past the tail next to the body", 12, 15, false},
        {"half way: 7 wide", 6, 8, true},
        {"half way: past the tail", 7, 8, false},
        {"body's edge row over the tail", 0, 16, true},
        {"body's edge row far from the tail", 60, 16, true},
        {"body's end column, edge row: rounded off", -16, 16, false},
        {"body's end column, 8 rows in: straight", -16, 24, true},
        {"8 columns in, edge row: straight", -8, 16, true},
        {"before the body's end", -17, 24, false},
    };
    for (const Placement& c : kPlacements) {
        SCOPED_TRACE(c.name);
        const BalloonLayout l = layoutBalloon(kExtent, c.tip, kScreen);
        for (const Pixel& p : pixels) {
            const POINT at = fromTip(l, p.across, p.along);
            EXPECT_EQ(balloonCovers(l, at.x, at.y), p.covered) << p.what;
        }
        // Every corner of the body is rounded off, the sides between them are not.
        const RECT& b = l.body;
        for (const POINT corner : {POINT{b.left, b.top}, POINT{b.right - 1, b.top},
                                   POINT{b.left, b.bottom - 1}, POINT{b.right - 1, b.bottom - 1}})
            EXPECT_FALSE(balloonCovers(l, corner.x, corner.y)) << corner.x << "," << corner.y;
        const LONG midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
        EXPECT_TRUE(balloonCovers(l, midX, b.top));
        EXPECT_TRUE(balloonCovers(l, midX, b.bottom - 1));
        EXPECT_TRUE(balloonCovers(l, b.left, midY));
        EXPECT_TRUE(balloonCovers(l, b.right - 1, midY));
        EXPECT_FALSE(balloonCovers(l, midX, b.top - 1));
        EXPECT_FALSE(balloonCovers(l, midX, b.bottom));
        EXPECT_FALSE(balloonCovers(l, b.left - 1, midY));
        EXPECT_FALSE(balloonCovers(l, b.right, midY));
    }
}

// --- The window on the screen ---------------------------------------------------------------

struct DestroyWindowHandle {
    void operator()(HWND h) const { DestroyWindow(h); }
};
using OwnedWindow = moyuan::win32::Unique<HWND, DestroyWindowHandle>;

// The program's main window stands in as owner, filled with one colour that the balloon's
// see-through and shadow are measured against.
constexpr COLORREF kOwnerColour = RGB(40, 90, 160);
constexpr RECT kOwnerPlace{100, 100, 600, 500};
constexpr wchar_t kOwnerClass[] = L"balloon_notice_test_owner";

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(hwnd, &client);
        const moyuan::win32::UniqueBrush brush(CreateSolidBrush(kOwnerColour));
        FillRect(reinterpret_cast<HDC>(wp), &client, brush.get());
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

OwnedWindow makeOwner() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ownerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kOwnerClass;
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return {};
    return OwnedWindow(CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE,
                                       kOwnerPlace.left, kOwnerPlace.top,
                                       kOwnerPlace.right - kOwnerPlace.left,
                                       kOwnerPlace.bottom - kOwnerPlace.top, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
}

// Handles what is queued, and gives the display time to show what was drawn.
void settle() {
    for (int round = 0; round < 4; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        GdiFlush();
        Sleep(25);
    }
}

struct Rgb {
    int r, g, b;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb rgbOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// `over` laid over `under` at `alpha` (of 1).
Rgb blend(Rgb over, Rgb under, double alpha) {
    const auto mix = [alpha](int o, int u) {
        return static_cast<int>(std::lround(o * alpha + u * (1.0 - alpha)));
    };
    return {mix(over.r, under.r), mix(over.g, under.g), mix(over.b, under.b)};
}

// Equal up to one step of rounding in each channel.
testing::AssertionResult closeTo(Rgb got, Rgb want) {
    if (std::abs(got.r - want.r) <= 1 && std::abs(got.g - want.g) <= 1 &&
        std::abs(got.b - want.b) <= 1)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << got << ", expected " << want;
}

// What the screen shows in an area, read through the screen DC.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& area) : area_(area) {
        const int w = area.right - area.left, h = area.bottom - area.top;
        pixels_.resize(static_cast<std::size_t>(w) * h);
        const moyuan::win32::WindowDc screen = moyuan::win32::WindowDc::screen();
        const moyuan::win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        BITMAPINFO info = moyuan::win32::topDownInfo32(w, h);
        void* bits = nullptr;
        const moyuan::win32::UniqueBitmap bitmap(
            CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !bits) return;
        const moyuan::win32::Selection selected(memory.get(), bitmap.get());
        ok_ = BitBlt(memory.get(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(source, source + pixels_.size());
    }
    bool ok() const { return ok_; }
    // The pixel at (x, y) in screen coordinates.
    Rgb at(LONG x, LONG y) const {
        const std::uint32_t p =
            pixels_[static_cast<std::size_t>(y - area_.top) * (area_.right - area_.left) +
                    (x - area_.left)];
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
    }

private:
    RECT area_;
    std::vector<std::uint32_t> pixels_;
    bool ok_ = false;
};

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

const wchar_t kNotice[] = L"\u8DEF\u5F84\u4FDD\u5B58\u6210\u529F"; // 路径保存成功
constexpr double kOpacity = kBalloonOpacity / 255.0;

class BalloonNoticeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner_);
        SetForegroundWindow(owner_.get());
        SetActiveWindow(owner_.get());
        SetFocus(owner_.get());
        UpdateWindow(owner_.get());
        settle();
        ASSERT_TRUE(notice_.window());
    }

    OwnedWindow owner_ = makeOwner();
    BalloonNotice notice_{owner_.get()};
};

SIZE extentIn9PointSimSun(const wchar_t* text) {
    const moyuan::win32::WindowDc screen = moyuan::win32::WindowDc::screen();
    const moyuan::win32::UniqueFont font(CreateFontW(
        -MulDiv(9, GetDeviceCaps(screen.get(), LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
        FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_DONTCARE, L"\u5B8B\u4F53"));
    const moyuan::win32::Selection selected(screen.get(), font.get());
    RECT r{};
    DrawTextW(screen.get(), text, -1, &r, DT_CALCRECT | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

// The balloon, above the point with its tail on the left, tells from its window rectangle
// where its body is: the body starts at the window's top-left and ends 15 rows above the tip
// and 8 columns before the window's right edge.
RECT bodyOf(HWND balloon, POINT tip) {
    const RECT w = windowRect(balloon);
    return {w.left, w.top, w.right - 8, tip.y - 15};
}

TEST_F(BalloonNoticeTest, DrawsTheTipAtThePointAndLetsTheOwnerShowThroughBodyAndShadow) {
    const POINT tip{200, 300};
    notice_.show(tip.x, tip.y, kNotice);
    settle();
    ASSERT_TRUE(notice_.isShown());
    const RECT place = windowRect(notice_.window());
    EXPECT_EQ(place.left, tip.x - 16);
    EXPECT_EQ(place.bottom, tip.y + 1 + 6);
    // The body holds the text in 9 pt SimSun at the screen's resolution, 12 pixels all round.
    const RECT body = bodyOf(notice_.window(), tip);
    const SIZE text = extentIn9PointSimSun(kNotice);
    ASSERT_GT(text.cx, 0);
    EXPECT_EQ(body.right - body.left, text.cx + 24);
    EXPECT_EQ(body.bottom - body.top, text.cy + 24);

    const ScreenArea screen({place.left - 4, place.top - 4, place.right + 4, place.bottom + 4});
    ASSERT_TRUE(screen.ok());
    const Rgb owner = rgbOf(kOwnerColour);
    const Rgb infoBack = rgbOf(GetSysColor(COLOR_INFOBK));
    const Rgb infoText = rgbOf(GetSysColor(COLOR_INFOTEXT));

    // The tip is a border pixel; nothing of the balloon lies just beyond it.
    EXPECT_TRUE(closeTo(screen.at(tip.x, tip.y), blend(infoText, owner, kOpacity))) << "tip";
    EXPECT_TRUE(closeTo(screen.at(tip.x, tip.y + 1), owner)) << "below the tip";
    EXPECT_TRUE(closeTo(screen.at(tip.x - 1, tip.y), owner)) << "left of the tip";
    // The margin left of the text: the tooltip background, 10 % see-through.
    const LONG midY = (body.top + body.bottom) / 2;
    EXPECT_TRUE(closeTo(screen.at(body.left + 6, midY), blend(infoBack, owner, kOpacity)))
        << "body margin";
    EXPECT_TRUE(closeTo(screen.at(body.left, midY), blend(infoText, owner, kOpacity)))
        << "body border";
    // Right of the body the shadow is fully dark where the blur sees only shadow, and fades
    // out toward the window's edge.
    const Rgb black{0, 0, 0};
    const double darkness = kBalloonShadowPercent / 100.0 * kOpacity;
    EXPECT_TRUE(closeTo(screen.at(body.right + 1, midY), blend(black, owner, darkness)))
        << "shadow core";
    const Rgb fringe = screen.at(body.right + 6, midY);
    EXPECT_LT(blend(black, owner, darkness).b, fringe.b) << fringe;
    EXPECT_LT(fringe.b, owner.b) << fringe;
    EXPECT_TRUE(closeTo(screen.at(place.right, midY), owner)) << "beyond the window";
    // The shadow lies to the right and below: the body's rounded top-left corner shows the
    // owner as it is, while below the body the shadow darkens it.
    EXPECT_TRUE(closeTo(screen.at(body.left, body.top), owner)) << "top-left corner";
    const LONG midX = (body.left + body.right) / 2;
    // One row below the body the blur sees 5 of its 7 rows in the shadow.
    EXPECT_TRUE(closeTo(screen.at(midX, body.bottom + 1), blend(black, owner, darkness * 5 / 7)))
        << "under the body";
}

struct VisibleOfClass {
    wchar_t className[64]{};
    int visible = 0;
};

BOOL CALLBACK countVisibleOfClass(HWND hwnd, LPARAM lp) {
    auto* count = reinterpret_cast<VisibleOfClass*>(lp);
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    if (IsWindowVisible(hwnd) && std::wcscmp(name, count->className) == 0) ++count->visible;
    return TRUE;
}

TEST_F(BalloonNoticeTest, ASecondNoticeReplacesTheFirstInItsOwnPlace) {
    notice_.show(200, 300, kNotice);
    settle();
    const HWND first = notice_.window();
    const RECT firstPlace = windowRect(first);
    // Close enough that the new body covers the old one's.
    const POINT tip{210, 305};
    notice_.show(tip.x, tip.y, L"\u5DF2\u590D\u5236"); // 已复制
    settle();
    EXPECT_EQ(notice_.window(), first);
    EXPECT_TRUE(notice_.isShown());
    const RECT place = windowRect(notice_.window());
    EXPECT_EQ(place.left, tip.x - 16);
    EXPECT_EQ(place.bottom, tip.y + 1 + 6);
    // Sized for its own, shorter text.
    EXPECT_LT(place.right - place.left, firstPlace.right - firstPlace.left);

    // Only one balloon window of this thread is visible.
    VisibleOfClass count;
    ASSERT_GT(GetClassNameW(first, count.className, 64), 0);
    EnumThreadWindows(GetCurrentThreadId(), countVisibleOfClass,
                      reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(count.visible, 1);

    // The new body lies over the old one, yet shows the owner through it, not the old notice.
    const RECT body = bodyOf(notice_.window(), tip);
    const LONG midY = (body.top + body.bottom) / 2;
    const ScreenArea screen({body.left, body.top, body.right, body.bottom});
    ASSERT_TRUE(screen.ok());
    EXPECT_TRUE(closeTo(screen.at(body.left + 6, midY),
                        blend(rgbOf(GetSysColor(COLOR_INFOBK)), rgbOf(kOwnerColour), kOpacity)));
}

MSG messageFor(HWND hwnd, UINT message) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.time = GetMessageTime();
    return msg;
}

TEST_F(BalloonNoticeTest, ButtonsWheelsAndKeysHideTheNoticeOtherMessagesDoNot) {
    struct Case {
        const char* name;
        UINT message;
        bool hides;
    };
    const Case cases[] = {
        {"left button down", WM_LBUTTONDOWN, true},
        {"right double click", WM_RBUTTONDBLCLK, true},
        {"middle button down", WM_MBUTTONDOWN, true},
        {"left button down on the frame", WM_NCLBUTTONDOWN, true},
        {"right button down on the frame", WM_NCRBUTTONDOWN, true},
        {"wheel", WM_MOUSEWHEEL, true},
        {"sideways wheel", WM_MOUSEHWHEEL, true},
        {"key down", WM_KEYDOWN, true},
        {"system key down", WM_SYSKEYDOWN, true},
        {"mouse move", WM_MOUSEMOVE, false},
        {"left button up", WM_LBUTTONUP, false},
        {"key up", WM_KEYUP, false},
        {"character", WM_CHAR, false},
        {"timer", WM_TIMER, false},
        {"paint", WM_PAINT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notice_.show(300, 300, kNotice);
        ASSERT_TRUE(notice_.isShown());
        // Sent to the owner and to the balloon itself alike.
        for (const HWND target : {owner_.get(), notice_.window()}) {
            notice_.show(300, 300, kNotice);
            notice_.observe(messageFor(target, c.message));
            EXPECT_EQ(notice_.isShown(), !c.hides);
            EXPECT_EQ(IsWindowVisible(notice_.window()) != FALSE, !c.hides);
        }
    }
    // Once hidden it stays hidden, whatever comes next, until it is shown again.
    notice_.observe(messageFor(owner_.get(), WM_KEYDOWN));
    notice_.observe(messageFor(owner_.get(), WM_MOUSEMOVE));
    EXPECT_FALSE(notice_.isShown());
}

TEST_F(BalloonNoticeTest, HidesWhenTheProgramLosesActivationOrWhenAsked) {
    notice_.show(300, 300, kNotice);
    ASSERT_TRUE(notice_.isShown());
    notice_.ownerDeactivated();
    EXPECT_FALSE(notice_.isShown());
    EXPECT_FALSE(IsWindowVisible(notice_.window()));

    notice_.show(300, 300, kNotice);
    ASSERT_TRUE(notice_.isShown());
    notice_.hide();
    EXPECT_FALSE(notice_.isShown());
    notice_.hide(); // hiding a hidden notice does nothing
    EXPECT_FALSE(notice_.isShown());
    // It does not go away by itself.
    notice_.show(300, 300, kNotice);
    for (int i = 0; i < 6; ++i) settle();
    EXPECT_TRUE(notice_.isShown());
}

TEST_F(BalloonNoticeTest, ShowsWithoutTakingActivationOrFocus) {
    ASSERT_EQ(GetActiveWindow(), owner_.get());
    ASSERT_EQ(GetFocus(), owner_.get());
    const HWND foreground = GetForegroundWindow();

    notice_.show(300, 300, kNotice);
    settle();
    EXPECT_TRUE(notice_.isShown());
    EXPECT_EQ(GetActiveWindow(), owner_.get());
    EXPECT_EQ(GetFocus(), owner_.get());
    EXPECT_EQ(GetForegroundWindow(), foreground);

    // A click on the balloon must not activate it either.
    EXPECT_EQ(SendMessageW(notice_.window(), WM_MOUSEACTIVATE,
                           reinterpret_cast<WPARAM>(owner_.get()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    // An owned, topmost tool window that cannot be activated: not on the taskbar, above the
    // owner.
    EXPECT_EQ(GetWindow(notice_.window(), GW_OWNER), owner_.get());
    const LONG_PTR ex = GetWindowLongPtrW(notice_.window(), GWL_EXSTYLE);
    for (const LONG_PTR flag : {LONG_PTR{WS_EX_NOACTIVATE}, LONG_PTR{WS_EX_TOOLWINDOW},
                                LONG_PTR{WS_EX_TOPMOST}, LONG_PTR{WS_EX_LAYERED}})
        EXPECT_EQ(ex & flag, flag) << std::hex << flag;
    EXPECT_EQ(GetWindowLongPtrW(notice_.window(), GWL_STYLE) & WS_POPUP, WS_POPUP);
}

// --- Handles --------------------------------------------------------------------------------

using moyuan::testing_support::freeGdiSlots;
using moyuan::testing_support::GdiSlotsTaken;

TEST_F(BalloonNoticeTest, WithoutGdiObjectsToSpareAShowHidesTheOldNoticeAndKeepsNothing) {
    notice_.show(300, 300, kNotice);
    settle();
    ASSERT_TRUE(notice_.isShown());
    GdiSlotsTaken slots;
    ASSERT_GT(slots.takeAll(), 0u);
    // A show needs a memory DC and a bitmap at least: with none or one object to spare it
    // fails, at its first or its second object.
    for (const std::size_t spare : {0u, 1u}) {
        SCOPED_TRACE(spare);
        slots.giveBack(spare);
        notice_.show(250, 320, L"\u5DF2\u590D\u5236");
        EXPECT_FALSE(notice_.isShown());
        EXPECT_EQ(slots.takeAll(), spare); // all it got, it gave back
        notice_.show(300, 300, kNotice);   // still without objects: stays hidden
        EXPECT_FALSE(notice_.isShown());
    }
    slots = GdiSlotsTaken();
    notice_.show(300, 300, kNotice);
    EXPECT_TRUE(notice_.isShown());
}

TEST_F(BalloonNoticeTest, ThousandShowsAndHidesLeaveNoGdiObjectBehind) {
    // The first show may set up what the system keeps for the window.
    notice_.show(300, 300, kNotice);
    notice_.hide();
    settle();
    const std::size_t before = freeGdiSlots();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1'000; ++i) {
        notice_.show(250 + i % 50, 300 - i % 40, i % 2 ? kNotice : L"\u5DF2\u590D\u5236");
        if (i % 3 == 0) notice_.observe(messageFor(owner_.get(), WM_LBUTTONDOWN));
        else notice_.hide();
        ASSERT_FALSE(notice_.isShown()) << "round " << i;
    }
    settle();
    EXPECT_EQ(freeGdiSlots(), before);
}

} // namespace
