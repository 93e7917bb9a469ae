// A drag on the frozen screen, with the real handlers on the Win32 runtime.
#include <gtest/gtest.h>

#include <windows.h>

#include "capture/capture_mode.h"
#include "capture/gdi_snapshot.h"
#include "capture/region_selection.h"
#include "forms/control_ids.h"
#include "tests/win/gdi_slots.h"
#include "tests/win/main_form_fixture.h"

namespace moyuan {
namespace {

using testing_support::pumpMessages;

class CaptureMovesTest : public testing_support::MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        enterCaptureMode(*runtime_, state_);
        pumpMessages();
    }
    void TearDown() override {
        leaveCaptureMode(*runtime_, state_);
        MainFormTest::TearDown();
    }
    void move(int x, int y) {
        previewSelection(*runtime_, state_, {x, y, 0});
        pumpMessages();
    }
};

TEST_F(CaptureMovesTest, TheMarkersPictureIsWhatTheScreenShowsUnderIt) {
    // The picture of the marker comes from the panel's own bitmap; it must be the very bytes
    // that reading the screen there gives, in every direction of a drag.
    struct Drag {
        int startX, startY, x, y;
    };
    const Drag drags[] = {{100, 100, 300, 200}, {300, 100, 100, 200}, {100, 200, 300, 100},
                          {300, 200, 100, 100}, {0, 0, 50, 40},       {10, 10, 13, 90}};
    for (const Drag& d : drags) {
        SCOPED_TRACE(testing::Message() << d.startX << "," << d.startY << " -> " << d.x << "," << d.y);
        startDrag(state_, {d.startX, d.startY, 0});
        move(d.x, d.y);
        const HWND marker = reinterpret_cast<HWND>(runtime_->windowHandle(画板2));
        const PictureBytes fromScreen = gdi::snapshotWindowArea(marker);
        ASSERT_FALSE(fromScreen.empty());
        EXPECT_TRUE(state_.capturedPicture == fromScreen) << "the captured picture differs from the screen";
        EXPECT_EQ(state_.capturedPicture.size(), fromScreen.size());
    }
}

TEST_F(CaptureMovesTest, AThousandMovesLeaveNoGdiObjectBehind) {
    startDrag(state_, {100, 100, 0});
    move(300, 200); // the first move makes what later moves reuse
    const std::size_t before = testing_support::freeGdiSlots();
    const POINT ends[] = {{300, 200}, {40, 30}, {250, 20}, {20, 260}, {102, 150}};
    for (int i = 0; i < 1000; ++i) move(ends[i % 5].x, ends[i % 5].y);
    move(300, 200); // as before the count: the picture box holds a picture again
    EXPECT_EQ(testing_support::freeGdiSlots(), before);
}

} // namespace
} // namespace moyuan
