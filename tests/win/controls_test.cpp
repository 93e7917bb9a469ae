// Drawing panels and the picture box on a small form of the test's own, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "capture/gdi_snapshot.h"
#include "capture/picture_bytes.h"
#include "runtime/picture_decode.h"
#include "runtime/win32/win32_form_runtime.h"
#include "tests/win/pump_messages.h"

namespace moyuan {
namespace {

constexpr ControlId kFormId = 0x52019999;
constexpr ControlId kPanel = 0x16019001;
constexpr ControlId kBox = 0x16019002;

using testing_support::pumpMessages;

struct Rgb8 {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// Pixel (x, y) of picture bytes, top row 0.
Rgb8 pixelAt(const PictureBytes& picture, int x, int y) {
    const int width = static_cast<int>(picture[18] | picture[19] << 8);
    const int height = static_cast<int>(picture[22] | picture[23] << 8);
    const std::size_t at = kBmpPixelOffset + bmpStride(width) * static_cast<std::size_t>(height - 1 - y) +
                           static_cast<std::size_t>(x) * 3;
    return {picture[at + 2], picture[at + 1], picture[at]};
}

// A small picture whose neighbouring pixels always differ and that holds no pure red.
PictureBytes smallPicture(int w, int h) {
    PictureBytes picture = makePictureBytes(w, h);
    auto rows = pictureRows(picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = rows.data() + bmpStride(w) * static_cast<std::size_t>(h - 1 - y) + x * 3;
            p[0] = static_cast<std::uint8_t>(40 + 20 * y + 1); // blue
            p[1] = static_cast<std::uint8_t>(30 * x);          // green
            p[2] = static_cast<std::uint8_t>(10 * (x + y));    // red
        }
    return picture;
}

struct Event {
    EventCode code;
    MouseArgs args;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The pointer stays away from the form: only the test's own mouse messages count.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        WindowForm form;
        form.window.id = kFormId;
        form.window.caption = "controls";
        form.window.place = {40, 40, 360, 220};
        form.window.centred = false;
        form.window.border = kBorderNone;
        ControlSpec panel;
        panel.id = kPanel;
        panel.kind = ControlKind::DrawPanel;
        panel.name = "panel";
        panel.place = {10, 10, 100, 80};
        panel.panel.penColor = {255, 0, 0};
        panel.panel.fillStyle = 0;
        ControlSpec box;
        box.id = kBox;
        box.kind = ControlKind::PictureBox;
        box.name = "box";
        box.place = {150, 10, 120, 90};
        box.background = Rgb{0, 0, 0};
        form.controls = {box, panel};
        for (EventCode code : {EventCode::LeftPress, EventCode::MouseMove, EventCode::LeftRelease,
                               EventCode::RightPress})
            form.bindings.push_back({kPanel, code, [this, code](FormRuntime&, const MouseArgs& a) {
                                         events_.push_back({code, a});
                                     }});
        FormDefinition definition;
        definition.windows.push_back(std::move(form));
        runtime_ = std::make_unique<win32::Win32FormRuntime>();
        runtime_->startRuntime(definition);
        runtime_->loadStartWindow(kFormId);
        SetWindowPos(window(kFormId), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        pumpMessages();
    }
    void TearDown() override {
        runtime_.reset();
        pumpMessages();
    }

    HWND window(ControlId id) {
        return reinterpret_cast<HWND>(runtime_->windowHandle(id == kFormId ? kMainWindowAsControl : id));
    }
    PictureBytes shown(ControlId id) {
        pumpMessages();
        return gdi::snapshotWindowArea(window(id));
    }

    std::unique_ptr<win32::Win32FormRuntime> runtime_;
    std::vector<Event> events_;
};

TEST_F(ControlsTest, PanelTilesItsPictureAndDrawsOutlinesThatAClearRemoves) {
    const PictureBytes tile = smallPicture(7, 5);
    runtime_->setBytesProperty(kPanel, Property::Picture, tile);
    const PictureBytes tiled = shown(kPanel);
    ASSERT_EQ(tiled.size(), pictureBytesSize(100, 80));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(pixelAt(tiled, x, y), pixelAt(tile, x % 7, y % 5)) << x << "," << y;

    // Corners in any order; the right and bottom edges are left out.
    runtime_->drawRectangle(kPanel, 30, 20, 10, 5);
    const PictureBytes drawn = gdi::snapshotWindowArea(window(kPanel));
    const Rgb8 red{255, 0, 0};
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool outline = ((x == 10 || x == 29) && y >= 5 && y <= 19) ||
                                 ((y == 5 || y == 19) && x >= 10 && x <= 29);
            ASSERT_EQ(pixelAt(drawn, x, y), outline ? red : pixelAt(tile, x % 7, y % 5)) << x << "," << y;
        }

    runtime_->clearPanel(kPanel);
    EXPECT_EQ(gdi::snapshotWindowArea(window(kPanel)), tiled) << "the clear restores the picture exactly";
}

TEST_F(ControlsTest, PanelWithoutPictureShowsTheButtonFaceColour) {
    const PictureBytes plain = shown(kPanel);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Rgb8 expected{GetRValue(face), GetGValue(face), GetBValue(face)};
    for (auto [x, y] : {std::pair{0, 0}, {99, 79}, {50, 40}}) EXPECT_EQ(pixelAt(plain, x, y), expected);
}

TEST_F(ControlsTest, PictureBoxStretchesItsPictureAndStaysBlackWhenEmpty) {
    runtime_->setBytesProperty(kBox, Property::Picture, PictureBytes{});
    const PictureBytes empty = shown(kBox);
    for (auto [x, y] : {std::pair{0, 0}, {119, 89}, {60, 45}}) EXPECT_EQ(pixelAt(empty, x, y), (Rgb8{0, 0, 0}));

    // A 40 x 30 picture of four uniform quarters, stretched to 120 x 90: well inside each
    // quarter the box shows its colour exactly, whatever blending the stretching does at the seams.
    PictureBytes four = makePictureBytes(40, 30);
    auto rows = pictureRows(four);
    const Rgb8 colours[2][2] = {{{200, 10, 20}, {10, 200, 30}}, {{30, 40, 200}, {250, 250, 0}}};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const Rgb8& c = colours[y / 15][x / 20];
            std::uint8_t* p = rows.data() + bmpStride(40) * static_cast<std::size_t>(29 - y) + x * 3;
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    runtime_->setBytesProperty(kBox, Property::Picture, four);
    const PictureBytes stretched = shown(kBox);
    ASSERT_EQ(stretched.size(), pictureBytesSize(120, 90));
    EXPECT_EQ(pixelAt(stretched, 15, 12), colours[0][0]);
    EXPECT_EQ(pixelAt(stretched, 105, 12), colours[0][1]);
    EXPECT_EQ(pixelAt(stretched, 15, 78), colours[1][0]);
    EXPECT_EQ(pixelAt(stretched, 105, 78), colours[1][1]);
}

TEST_F(ControlsTest, MouseEventsReachTheirHandlersWithClientPixelsAndKeys) {
    struct Case {
        UINT message;
        WPARAM keys;
        int x, y;
        EventCode code;
        int keyState;
    };
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, 12, 34, EventCode::LeftPress, 0},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 40, 50, EventCode::MouseMove, kKeyCtrl},
        {WM_LBUTTONUP, MK_SHIFT, 99, 79, EventCode::LeftRelease, kKeyShift},
        {WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL | MK_SHIFT, 0, 0, EventCode::RightPress, kKeyCtrl | kKeyShift},
    };
    for (const Case& c : cases)
        PostMessageW(window(kPanel), c.message, c.keys, MAKELPARAM(c.x, c.y));
    pumpMessages();
    ASSERT_EQ(events_.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(events_[i].code, cases[i].code);
        EXPECT_EQ(events_[i].args.x, cases[i].x);
        EXPECT_EQ(events_[i].args.y, cases[i].y);
        EXPECT_EQ(events_[i].args.keys, cases[i].keyState);
    }
}

} // namespace
} // namespace moyuan
