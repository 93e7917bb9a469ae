// The main window built from its form by the Win32 runtime, in this test process.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "forms/control_ids.h"
#include "tests/win/main_form_fixture.h"

namespace moyuan {
namespace {

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using testing_support::pumpMessages;

using MainWindowTest = testing_support::MainFormTest;

TEST_F(MainWindowTest, StartsCentredWithTheFormsSizeAndFrame) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(runtime_->property(kWindow, Property::Left), (screenW - 600) / 2);
    EXPECT_EQ(runtime_->property(kWindow, Property::Top), (screenH - 300) / 2);
    EXPECT_EQ(runtime_->property(kWindow, Property::Width), 600);
    EXPECT_EQ(runtime_->property(kWindow, Property::Height), 300);

    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window_, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the edges must not resize the window";
    EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(runtime_->property(kWindow, Property::Border), kBorderFixed);
}

TEST_F(MainWindowTest, ControlsHaveTheFormsPlacesAndStacking) {
    struct Expected {
        ControlId id;
        int left, top, width, height;
        bool visible;
    };
    // Stacking order, the topmost first.
    const std::vector<Expected> expected = {
        {气球提示框1, 432, 80, 26, 26, false}, {图片框1, 0, 0, 400, 272, true},
        {画板2, 0, 0, 0, 0, false},             {画板1, 0, 0, 0, 0, true},
        {按钮3, 464, 160, 72, 40, true},        {按钮2, 464, 96, 72, 40, true},
        {按钮1, 464, 32, 72, 40, true},
    };
    HWND child = GetWindow(window_, GW_CHILD);
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << std::hex << e.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child, control(e.id)) << "stacking order";
        EXPECT_EQ(runtime_->property(e.id, Property::Left), e.left);
        EXPECT_EQ(runtime_->property(e.id, Property::Top), e.top);
        EXPECT_EQ(runtime_->property(e.id, Property::Width), e.width);
        EXPECT_EQ(runtime_->property(e.id, Property::Height), e.height);
        EXPECT_EQ(runtime_->property(e.id, Property::Visible), e.visible ? 1 : 0);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no other control";
}

TEST_F(MainWindowTest, ButtonsCarryTheirCaptionsAndTabStops) {
    struct Expected {
        ControlId id;
        const wchar_t* caption;
    };
    for (const Expected& e : {Expected{按钮1, L"\u622A\u56FE"},                // 截图
                              Expected{按钮2, L"\u5B58\u50A8\u8DEF\u5F84"},    // 存储路径
                              Expected{按钮3, L"\u4FDD\u5B58"}}) {             // 保存
        wchar_t caption[32] = L"";
        GetWindowTextW(control(e.id), caption, 32);
        EXPECT_STREQ(caption, e.caption);
        const LONG style = GetWindowLongW(control(e.id), GWL_STYLE);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "never a default button";
        EXPECT_TRUE(style & BS_MULTILINE);
    }
    wchar_t title[128] = L"";
    GetWindowTextW(window_, title, 128);
    EXPECT_EQ(std::wstring(title).rfind(L"\u58A8\u9E22\u622A\u56FE\u5DE5\u5177V2.0", 0), 0u)
        << "caption starts with 墨鸢截图工具V2.0";
}

TEST_F(MainWindowTest, SizesAndPlacesWriteIndependently) {
    struct Case {
        Property property;
        int value, expected;
    };
    const Case cases[] = {
        {Property::Width, -5, 0},   {Property::Height, -1, 0}, {Property::Width, 321, 321},
        {Property::Height, 123, 123}, {Property::Left, -40, -40}, {Property::Top, 17, 17},
    };
    for (ControlId id : {kWindow, 按钮2, 画板1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << id << std::dec << " property "
                                            << static_cast<int>(c.property) << " := " << c.value);
            const int before[4] = {runtime_->property(id, Property::Left), runtime_->property(id, Property::Top),
                                   runtime_->property(id, Property::Width), runtime_->property(id, Property::Height)};
            runtime_->setProperty(id, c.property, c.value);
            EXPECT_EQ(runtime_->property(id, c.property), c.expected);
            // Every other value stays.
            for (int i = 0; i < 4; ++i) {
                if (i != static_cast<int>(c.property)) {
                    EXPECT_EQ(runtime_->property(id, static_cast<Property>(i)), before[i]);
                }
            }
        }
    }
}

TEST_F(MainWindowTest, BorderChangesKeepTheOuterRectangle) {
    const RECT before = windowRect(window_);
    runtime_->setProperty(kWindow, Property::Border, kBorderNone);
    pumpMessages();
    EXPECT_TRUE(sameRect(windowRect(window_), before));
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, before.right - before.left) << "no frame: the client is the window";
    EXPECT_EQ(client.bottom, before.bottom - before.top);
    EXPECT_FALSE(GetWindowLongW(window_, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    runtime_->setProperty(kWindow, Property::Border, kBorderFixed);
    pumpMessages();
    EXPECT_TRUE(sameRect(windowRect(window_), before));
    GetClientRect(window_, &client);
    EXPECT_LT(client.right, before.right - before.left) << "the frame is back";
    EXPECT_TRUE(GetWindowLongW(window_, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowTest, VisibleAndCursorProperties) {
    runtime_->setProperty(图片框1, Property::Visible, 0);
    EXPECT_EQ(runtime_->property(图片框1, Property::Visible), 0);
    EXPECT_FALSE(IsWindowVisible(control(图片框1)));
    runtime_->setProperty(图片框1, Property::Visible, 1);
    EXPECT_EQ(runtime_->property(图片框1, Property::Visible), 1);

    runtime_->setBytesProperty(画板1, Property::Cursor, integerToBytes(kCursorCross));
    EXPECT_EQ(runtime_->property(画板1, Property::Cursor), kCursorCross);
    runtime_->setBytesProperty(画板1, Property::Cursor, integerToBytes(kCursorDefault));
    EXPECT_EQ(runtime_->property(画板1, Property::Cursor), kCursorDefault);
}

TEST_F(MainWindowTest, ControlIdsAboveSixteenBitsStillRouteClicks) {
    // 按钮1's id is 0x16010002: WM_COMMAND carries only its low 16 bits (2, which is also
    // IDCANCEL). The click must still reach 按钮1's handler, which enters capture mode and
    // so hides the picture box.
    SendMessageW(control(按钮1), BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(runtime_->property(图片框1, Property::Visible), 0);
    EXPECT_EQ(runtime_->property(kWindow, Property::Border), kBorderNone);
}

} // namespace
} // namespace moyuan
