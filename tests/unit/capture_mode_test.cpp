#include <gtest/gtest.h>

#include <optional>

#include "tests/support/bmp_reader.h"
#include "tests/support/program_fixture.h"

namespace moyuan::test {
namespace {

using CaptureMode = RunningProgram;

const Bounds kStartBounds{660, 390, 600, 300};

TEST_F(CaptureMode, EnteringFreezesTheScreenUnderAFullScreenSurface) {
    const Image screenBefore = runtime.screen;
    enterCaptureMode();

    EXPECT_EQ(state().savedWindowBounds, (WindowBounds{660, 390, 600, 300}));
    EXPECT_FALSE(runtime.visible(图片框1));

    // The surface shows the screen as it was at the click.
    const std::optional<Image> frozen = readBmp(runtime.picture(画板1));
    ASSERT_TRUE(frozen.has_value());
    EXPECT_TRUE(*frozen == screenBefore);
    EXPECT_EQ(runtime.cursorCode(画板1), kCursorCross);

    EXPECT_EQ(runtime.bounds(kWindow), (Bounds{0, 0, 1920, 1080}));
    EXPECT_EQ(runtime.border(kWindow), kBorderNone);
    EXPECT_EQ(runtime.bounds(画板1), (Bounds{0, 0, 1920, 1080}));
    EXPECT_EQ(runtime.screenBounds(画板1), (Bounds{0, 0, 1920, 1080}));
}

TEST_F(CaptureMode, TheFrozenPictureStaysWhileTheLiveScreenChanges) {
    const Image screenBefore = runtime.screen;
    enterCaptureMode();
    runtime.screen.fill([](int, int) { return Rgb{10, 20, 30}; });
    EXPECT_TRUE(runtime.displayedScreen() == screenBefore);
}

TEST_F(CaptureMode, FollowsTheScreenSize) {
    FakeFormRuntime small;
    small.screen = Image(1024, 600);
    programState() = ProgramState{};
    startProgram(small);
    small.click(按钮1);
    EXPECT_EQ(small.bounds(kWindow), (Bounds{0, 0, 1024, 600}));
    EXPECT_EQ(small.bounds(画板1), (Bounds{0, 0, 1024, 600}));
    EXPECT_EQ(state().savedWindowBounds, (WindowBounds{212, 150, 600, 300}));
    const std::optional<Image> frozen = readBmp(small.picture(画板1));
    ASSERT_TRUE(frozen.has_value());
    EXPECT_EQ(frozen->width, 1024);
    EXPECT_EQ(frozen->height, 600);
}

// Both ways out of capture mode: releasing the left button and pressing the right one.
class LeavingCaptureMode : public RunningProgram,
                           public testing::WithParamInterface<EventCode> {};

TEST_P(LeavingCaptureMode, RestoresTheWindowAsItWas) {
    enterCaptureMode();
    drag(100, 100, 300, 200);
    runtime.mouse(画板1, GetParam(), 300, 200);

    EXPECT_EQ(runtime.bounds(kWindow), kStartBounds);
    EXPECT_EQ(runtime.border(kWindow), kBorderFixed);
    EXPECT_EQ(runtime.bounds(画板1).width, 0);
    EXPECT_EQ(runtime.bounds(画板2).height, 0);
    EXPECT_TRUE(runtime.visible(图片框1));
    EXPECT_EQ(runtime.cursorCode(画板1), kCursorDefault);
    EXPECT_EQ(state().selecting, 0);
    // Nothing of the surface or the rubber band is left on the screen.
    EXPECT_TRUE(runtime.displayedScreen() == runtime.screen);
}

INSTANTIATE_TEST_SUITE_P(BothButtons, LeavingCaptureMode,
                         testing::Values(EventCode::LeftRelease, EventCode::RightPress),
                         [](const testing::TestParamInfo<EventCode>& info) {
                             return info.param == EventCode::LeftRelease ? "LeftRelease"
                                                                         : "RightPress";
                         });

TEST_F(CaptureMode, RightPressRightAfterEnteringKeepsTheLastCapture) {
    const PictureBytes earlier(120, 0x42);
    state().capturedPicture = earlier;
    const PictureBytes banner = runtime.picture(图片框1);

    enterCaptureMode();
    runtime.mouse(画板1, EventCode::RightPress, 500, 500);

    EXPECT_EQ(state().capturedPicture, earlier);
    EXPECT_EQ(runtime.picture(图片框1), banner);
    EXPECT_EQ(runtime.bounds(kWindow), kStartBounds);
}

TEST_F(CaptureMode, LeavingRestoresWhereTheWindowWasMovedTo) {
    captureRegion(100, 100, 300, 200);
    // The user moves the window between two captures.
    runtime.setProperty(kWindow, Property::Left, 100);
    runtime.setProperty(kWindow, Property::Top, 50);

    captureRegion(100, 100, 300, 200);

    EXPECT_EQ(runtime.bounds(kWindow), (Bounds{100, 50, 600, 300}));
    EXPECT_EQ(state().savedWindowBounds, (WindowBounds{100, 50, 600, 300}));
}

TEST_F(CaptureMode, PressAndReleaseWithoutAMoveCapturesNothing) {
    const PictureBytes earlier(120, 0x42);
    state().capturedPicture = earlier;
    const PictureBytes banner = runtime.picture(图片框1);

    enterCaptureMode();
    runtime.mouse(画板1, EventCode::LeftPress, 100, 100);
    runtime.mouse(画板1, EventCode::LeftRelease, 100, 100);

    EXPECT_EQ(state().capturedPicture, earlier);
    EXPECT_EQ(runtime.picture(图片框1), banner);
    EXPECT_EQ(runtime.bounds(画板2), (Bounds{0, 0, 0, 0}));
    EXPECT_EQ(runtime.bounds(kWindow), kStartBounds);
}

TEST_F(CaptureMode, MovesAfterTheReleaseDoNothing) {
    captureRegion(100, 100, 300, 200);
    const PictureBytes captured = state().capturedPicture;
    const Bounds marker = runtime.bounds(画板2);
    ASSERT_EQ(captured.size(), 58'462u);

    // The next capture mode starts without a press: moving must neither draw nor capture.
    enterCaptureMode();
    const Image frozen = runtime.displayedScreen();
    runtime.mouse(画板1, EventCode::MouseMove, 400, 400);
    runtime.mouse(画板1, EventCode::MouseMove, 50, 60);

    EXPECT_EQ(state().capturedPicture, captured);
    EXPECT_EQ(runtime.picture(图片框1), captured);
    EXPECT_EQ(runtime.bounds(画板2), marker);
    EXPECT_TRUE(runtime.displayedScreen() == frozen);
}

} // namespace
} // namespace moyuan::test
