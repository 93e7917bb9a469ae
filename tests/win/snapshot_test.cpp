// The GDI snapshot against real windows of this process: a pattern in which no two
// neighbouring pixels are alike is painted at a known place, and every snapshot must give
// back exactly those pixels in the picture's byte order.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/gdi_slots.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "capture/gdi_snapshot.h"
#include "capture/picture_bytes.h"
#include "runtime/win32/scoped_win.h"
#include "runtime/win32/dib.h"

namespace {

using moyuan::PictureBytes;
using moyuan::pictureBytesSize;
using moyuan::gdi::snapshotScreen;
using moyuan::gdi::snapshotSizeFits;
using moyuan::gdi::snapshotWindowArea;

struct Rgb {
    std::uint8_t r, g, b;
};

// Neighbours differ in every channel, and far more than a 16-bit desktop would merge.
Rgb patternAt(int x, int y) {
    return {static_cast<std::uint8_t>(x * 37 + y * 11), static_cast<std::uint8_t>(x * 13 + y * 57),
            static_cast<std::uint8_t>(x * 101 + y * 7)};
}

// --- Test windows ---------------------------------------------------------------------------

struct DestroyWindowHandle {
    void operator()(HWND h) const { DestroyWindow(h); }
};
using OwnedWindow = moyuan::win32::Unique<HWND, DestroyWindowHandle>;

constexpr wchar_t kPatternClass[] = L"snapshot_test_pattern";
constexpr wchar_t kPlainClass[] = L"snapshot_test_plain";
constexpr LONG_PTR kPainted = 1;

// Paints the pattern over the whole client area, its (0, 0) at the client's top-left, and
// marks the window as painted.
LRESULT CALLBACK patternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    const moyuan::win32::PaintDc paint(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width > 0 && height > 0) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = patternAt(x, y);
                pixels[static_cast<std::size_t>(y) * width + x] =
                    (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
            }
        BITMAPINFO info = moyuan::win32::topDownInfo32(width, height);
        SetDIBitsToDevice(paint.get(), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height),
                          0, 0, 0, static_cast<UINT>(height), pixels.data(), &info,
                          DIB_RGB_COLORS);
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, kPainted);
    return 0;
}

bool registerClasses() {
    static const bool registered = [] {
        WNDCLASSW pattern{};
        pattern.lpfnWndProc = patternProc;
        pattern.hInstance = GetModuleHandleW(nullptr);
        pattern.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        pattern.lpszClassName = kPatternClass;
        WNDCLASSW plain = pattern;
        plain.lpfnWndProc = DefWindowProcW;
        plain.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        plain.lpszClassName = kPlainClass;
        return RegisterClassW(&pattern) != 0 && RegisterClassW(&plain) != 0;
    }();
    return registered;
}

// A top-level window without frame, topmost so that nothing else covers it; shown only when
// `style` has WS_VISIBLE.
OwnedWindow makePopup(const wchar_t* cls, int x, int y, int width, int height, DWORD style) {
    if (!registerClasses()) return {};
    return OwnedWindow(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls,
                                       L"", WS_POPUP | style, x, y, width, height, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
}

HWND makeChild(HWND parent, const wchar_t* cls, int x, int y, int width, int height,
               DWORD style) {
    if (!registerClasses()) return nullptr;
    return CreateWindowExW(0, cls, L"", WS_CHILD | style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void drainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Paints the window and all its children now, then handles whatever the paint queued.
void paintNow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    drainMessages();
    GdiFlush();
}

bool painted(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWLP_USERDATA) == kPainted; }

// --- Reading pictures -----------------------------------------------------------------------

std::uint32_t le32(const PictureBytes& p, std::size_t at) {
    return std::uint32_t{p[at]} | (std::uint32_t{p[at + 1]} << 8) |
           (std::uint32_t{p[at + 2]} << 16) | (std::uint32_t{p[at + 3]} << 24);
}
std::uint16_t le16(const PictureBytes& p, std::size_t at) {
    return static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
}

std::size_t strideOf(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

// A complete 24-bit bottom-up BMP of that size, with zero padding at the end of every row.
testing::AssertionResult isPictureOfSize(const PictureBytes& p, int width, int height) {
    if (p.size() != pictureBytesSize(width, height))
        return testing::AssertionFailure() << "size " << p.size() << ", expected "
                                           << pictureBytesSize(width, height);
    if (p[0] != 'B' || p[1] != 'M') return testing::AssertionFailure() << "no BM signature";
    struct Field {
        const char* name;
        std::uint32_t got, want;
    };
    const Field fields[] = {
        {"file size", le32(p, 2), static_cast<std::uint32_t>(p.size())},
        {"pixel offset", le32(p, 10), 54},
        {"info header size", le32(p, 14), 40},
        {"width", le32(p, 18), static_cast<std::uint32_t>(width)},
        {"height (positive: bottom-up)", le32(p, 22), static_cast<std::uint32_t>(height)},
        {"planes", le16(p, 26), 1},
        {"bits per pixel", le16(p, 28), 24},
        {"compression", le32(p, 30), 0},
    };
    for (const Field& f : fields)
        if (f.got != f.want)
            return testing::AssertionFailure() << f.name << " is " << f.got << ", expected " << f.want;
    const std::size_t stride = strideOf(width);
    for (int row = 0; row < height; ++row)
        for (std::size_t i = static_cast<std::size_t>(width) * 3; i < stride; ++i)
            if (p[54 + row * stride + i] != 0)
                return testing::AssertionFailure() << "padding byte " << i << " of stored row "
                                                   << row << " is not zero";
    return testing::AssertionSuccess();
}

// The picture (pictureWidth x pictureHeight) holds, in its w x h area at (atX, atY) counted
// from its top-left, the pattern from (patternX, patternY) on, stored as B, G, R.
testing::AssertionResult holdsPattern(const PictureBytes& p, int pictureWidth, int pictureHeight,
                                      int atX, int atY, int w, int h, int patternX = 0,
                                      int patternY = 0) {
    if (p.size() < pictureBytesSize(pictureWidth, pictureHeight))
        return testing::AssertionFailure() << "picture of " << p.size() << " bytes is too short";
    const std::size_t stride = strideOf(pictureWidth);
    int wrong = 0;
    testing::AssertionResult result = testing::AssertionFailure();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t storedRow = static_cast<std::size_t>(pictureHeight - 1 - (atY + y));
            const std::uint8_t* px = &p[54 + storedRow * stride + static_cast<std::size_t>(atX + x) * 3];
            const Rgb want = patternAt(patternX + x, patternY + y);
            if (px[0] != want.b || px[1] != want.g || px[2] != want.r) {
                if (wrong++ < 3)
                    result << "(" << x << "," << y << ") BGR " << int{px[0]} << "," << int{px[1]}
                           << "," << int{px[2]} << " expected " << int{want.b} << ","
                           << int{want.g} << "," << int{want.r} << "; ";
            }
        }
    if (wrong == 0) return testing::AssertionSuccess();
    return result << wrong << " of " << w * h << " pixels differ";
}

// --- Visible windows ------------------------------------------------------------------------

constexpr int kLeft = 50;
constexpr int kTop = 40;

TEST(SnapshotWindowArea, VisibleWindowGivesItsOwnPixelsBottomRowFirst) {
    // Widths with every amount of row padding: 0, 3, 2 and 1 bytes.
    const struct {
        int width, height;
    } sizes[] = {{64, 48}, {63, 47}, {62, 33}, {61, 1}, {1, 1}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        const OwnedWindow window = makePopup(kPatternClass, kLeft, kTop, s.width, s.height, 0);
        ASSERT_TRUE(window);
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
        paintNow(window.get());
        ASSERT_TRUE(painted(window.get()));

        const PictureBytes picture = snapshotWindowArea(window.get());
        EXPECT_TRUE(isPictureOfSize(picture, s.width, s.height));
        EXPECT_TRUE(holdsPattern(picture, s.width, s.height, 0, 0, s.width, s.height));
    }
}

// --- Hidden windows -------------------------------------------------------------------------

// A hidden window displays nothing, so its snapshot is what is displayed beneath it: here the
// pattern of a visible window, read from (patternX, patternY) on.
TEST(SnapshotWindowArea, HiddenWindowGivesWhatIsDisplayedBeneathIt) {
    // The pattern panel is a 64 x 48 child at (10, 10) of a black parent at (kLeft, kTop).
    constexpr int kPanelX = 10;
    constexpr int kPanelY = 10;
    const struct Case {
        const char* name;
        bool child; // a hidden sibling of the panel, else a hidden top-level window
        int x, y, width, height; // parent client coordinates for a child, else screen
        int patternX, patternY;
    } cases[] = {
        {"child inside the panel", true, 18, 16, 16, 12, 8, 6},
        {"child covering the panel exactly", true, 10, 10, 64, 48, 0, 0},
        {"child at the panel's bottom-right corner", true, 69, 51, 5, 7, 59, 41},
        {"top-level window over the panel", false, kLeft + 18, kTop + 16, 16, 12, 8, 6},
        {"small top-level window over the panel", false, kLeft + 40, kTop + 20, 7, 3, 30, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OwnedWindow parent = makePopup(kPlainClass, kLeft, kTop, 200, 150, WS_CLIPCHILDREN);
        ASSERT_TRUE(parent);
        const HWND panel =
            makeChild(parent.get(), kPatternClass, kPanelX, kPanelY, 64, 48, WS_VISIBLE);
        ASSERT_TRUE(panel);
        // Created after the panel, so it lies above it; never shown.
        OwnedWindow hiddenTopLevel;
        HWND hidden = nullptr;
        if (c.child) {
            hidden = makeChild(parent.get(), kPatternClass, c.x, c.y, c.width, c.height, 0);
        } else {
            hiddenTopLevel = makePopup(kPlainClass, c.x, c.y, c.width, c.height, 0);
            hidden = hiddenTopLevel.get();
        }
        ASSERT_TRUE(hidden);
        ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
        paintNow(parent.get());
        ASSERT_TRUE(painted(panel));
        ASSERT_FALSE(IsWindowVisible(hidden));
        ASSERT_FALSE(painted(hidden));

        const PictureBytes picture = snapshotWindowArea(hidden);
        EXPECT_TRUE(isPictureOfSize(picture, c.width, c.height));
        EXPECT_TRUE(holdsPattern(picture, c.width, c.height, 0, 0, c.width, c.height,
                                 c.patternX, c.patternY));
    }
}

// --- The whole screen -----------------------------------------------------------------------

TEST(SnapshotScreen, HoldsTheDisplayAtScreenSizeWithoutThePointer) {
    {
        const moyuan::win32::WindowDc screen = moyuan::win32::WindowDc::screen();
        ASSERT_TRUE(screen);
        const int bits = GetDeviceCaps(screen.get(), BITSPIXEL);
        // Xvfb at depth 24 shows up as a 32-bit display; the pictures stay 24-bit regardless.
        RecordProperty("display_bits_per_pixel", bits);
        ASSERT_GE(bits, 24) << "exact pixel comparisons need a true-colour desktop";
    }
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    const OwnedWindow window = makePopup(kPatternClass, kLeft, kTop, kWidth, kHeight, 0);
    ASSERT_TRUE(window);
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    paintNow(window.get());
    ASSERT_TRUE(painted(window.get()));

    // The pointer rests in the middle of the pattern, where it would spoil exact pixels.
    const POINT pointer{kLeft + kWidth / 2, kTop + kHeight / 2};
    ASSERT_TRUE(SetCursorPos(pointer.x, pointer.y));
    drainMessages();
    POINT now{};
    ASSERT_TRUE(GetCursorPos(&now));
    ASSERT_EQ(now.x, pointer.x);
    ASSERT_EQ(now.y, pointer.y);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GE(screenWidth, kLeft + kWidth);
    ASSERT_GE(screenHeight, kTop + kHeight);
    const struct {
        const char* name;
        std::function<PictureBytes()> take;
    } sources[] = {
        {"snapshotScreen()", [] { return snapshotScreen(); }},
        {"snapshotWindowArea(nullptr)", [] { return snapshotWindowArea(nullptr); }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        const PictureBytes picture = source.take();
        EXPECT_TRUE(isPictureOfSize(picture, screenWidth, screenHeight));
        EXPECT_TRUE(holdsPattern(picture, screenWidth, screenHeight, kLeft, kTop, kWidth, kHeight));
    }
}

// --- No picture -----------------------------------------------------------------------------

TEST(SnapshotWindowArea, GivesNothingForAMissingWindowOrAnAreaItCannotHold) {
    HWND destroyed = nullptr;
    {
        const OwnedWindow gone = makePopup(kPlainClass, kLeft, kTop, 8, 8, WS_VISIBLE);
        ASSERT_TRUE(gone);
        destroyed = gone.get();
    }
    ASSERT_FALSE(IsWindow(destroyed));
    EXPECT_TRUE(snapshotWindowArea(destroyed).empty()) << "destroyed window";

    // 20000 x 18000 pixels need 1,080,000,054 bytes, just over the limit.
    const struct {
        int width, height;
        DWORD style;
    } cases[] = {
        {0, 20, WS_VISIBLE}, {20, 0, WS_VISIBLE}, {0, 20, 0}, {20, 0, 0}, {20000, 18000, 0},
    };
    const OwnedWindow parent = makePopup(kPlainClass, kLeft, kTop, 100, 100, WS_VISIBLE);
    ASSERT_TRUE(parent);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) +
                     (c.style & WS_VISIBLE ? ", visible" : ", hidden"));
        const HWND child = makeChild(parent.get(), kPlainClass, 0, 0, c.width, c.height, c.style);
        ASSERT_TRUE(child);
        RECT outer{};
        ASSERT_TRUE(GetWindowRect(child, &outer));
        ASSERT_EQ(outer.right - outer.left, c.width);
        ASSERT_EQ(outer.bottom - outer.top, c.height);
        EXPECT_TRUE(snapshotWindowArea(child).empty());
        DestroyWindow(child);
    }
}

TEST(SnapshotSizeFits, AcceptsAreasUpToOneGibibyteOfPicture) {
    const struct {
        int width, height;
        bool fits;
    } cases[] = {
        {1, 1, true},
        {1024, 768, true},
        {16384, 21845, true},  // 54 + 49152 x 21845 = 1,073,725,494 bytes
        {16384, 21846, false}, // 1,073,774,646 bytes
        {0, 10, false},
        {10, 0, false},
        {-1, 10, false},
        {10, INT_MIN, false},
        {65536, 65536, false}, // 12 GiB: wraps to 54 bytes in a 32-bit size_t
        {INT_MAX, 1, false},
        {1, INT_MAX, false},
        {INT_MAX, INT_MAX, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(snapshotSizeFits(c.width, c.height), c.fits) << c.width << " x " << c.height;
}

// --- Handles ---------------------------------------------------------------------------------

using moyuan::testing_support::freeGdiSlots;
using moyuan::testing_support::GdiSlotsTaken;

// The three ways a snapshot reads: a visible window through its own DC, a hidden one and the
// whole screen through the screen DC.
struct SnapshotSource {
    const char* name;
    DWORD style; // of an 8 x 8 pattern window
    bool wholeScreen;
};
constexpr SnapshotSource kSources[] = {
    {"visible window", WS_VISIBLE, false},
    {"hidden window", 0, false},
    {"whole screen", 0, true},
};

TEST(SnapshotWindowArea, LeavesNoGdiObjectOrDcBehind) {
    for (const SnapshotSource& source : kSources) {
        SCOPED_TRACE(source.name);
        const OwnedWindow window = makePopup(kPatternClass, kLeft, kTop, 8, 8, source.style);
        ASSERT_TRUE(window);
        paintNow(window.get());
        const HWND target = source.wholeScreen ? nullptr : window.get();
        const std::size_t expectedSize =
            source.wholeScreen
                ? pictureBytesSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))
                : pictureBytesSize(8, 8);
        const int rounds = source.wholeScreen ? 100 : 1'000;
        // The system keeps a cache of window DCs; the first snapshots may fill it.
        for (int i = 0; i < 3; ++i) ASSERT_EQ(snapshotWindowArea(target).size(), expectedSize);

        const std::size_t slotsBefore = freeGdiSlots();
        ASSERT_GT(slotsBefore, 0u);
        // Windows counts the process's GDI objects here; Wine always answers 0, so under Wine
        // this comparison holds trivially and the count of free slots is what proves it.
        const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        for (int i = 0; i < rounds; ++i)
            ASSERT_EQ(snapshotWindowArea(target).size(), expectedSize) << "round " << i;
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
        EXPECT_EQ(freeGdiSlots(), slotsBefore);
    }
}

// With no GDI object to spare a snapshot fails at its first object, with one to spare at the
// second, and so on; on each of those paths it gives nothing and gives back what it got.
TEST(SnapshotWindowArea, RunningOutOfGdiObjectsGivesNothingAndLeavesNothingBehind) {
    constexpr std::size_t kMostSpare = 6;
    for (const SnapshotSource& source : kSources) {
        SCOPED_TRACE(source.name);
        const OwnedWindow window = makePopup(kPatternClass, kLeft, kTop, 8, 8, source.style);
        ASSERT_TRUE(window);
        paintNow(window.get());
        const HWND target = source.wholeScreen ? nullptr : window.get();
        ASSERT_FALSE(snapshotWindowArea(target).empty());

        std::vector<bool> took(kMostSpare + 1);
        for (std::size_t spare = 0; spare <= kMostSpare; ++spare) {
            SCOPED_TRACE(std::to_string(spare) + " objects to spare");
            GdiSlotsTaken taken;
            ASSERT_GT(taken.takeAll(), kMostSpare);
            taken.giveBack(spare);
            took[spare] = !snapshotWindowArea(target).empty();
            EXPECT_EQ(freeGdiSlots(), spare);
        }
        EXPECT_FALSE(took.front()) << "a snapshot without a single GDI object to spare";
        EXPECT_TRUE(took.back()) << "a snapshot with " << kMostSpare << " GDI objects to spare";
    }
}

} // namespace
