#include "capture/capture_mode.h"

#include "forms/control_ids.h"

namespace moyuan {

void enterCaptureMode(FormRuntime& runtime, ProgramState& state) {
    runtime.setProperty(图片框1, Property::Visible, 0);

    state.savedWindowBounds.left = runtime.property(kWindow, Property::Left);
    state.savedWindowBounds.top = runtime.property(kWindow, Property::Top);
    state.savedWindowBounds.width = runtime.property(kWindow, Property::Width);
    state.savedWindowBounds.height = runtime.property(kWindow, Property::Height);

    // The screen is frozen before the window moves, so the window is in it at its old place.
    {
        const PictureBytes frozenScreen = runtime.snapshot(0);
        runtime.setBytesProperty(画板1, Property::Picture, frozenScreen);
    }
    runtime.setBytesProperty(画板1, Property::Cursor, integerToBytes(kCursorCross));

    runtime.setProperty(kWindow, Property::Border, kBorderNone);
    runtime.setProperty(kWindow, Property::Left, 0);
    runtime.setProperty(kWindow, Property::Top, 0);
    runtime.setProperty(kWindow, Property::Width, runtime.screenWidth());
    runtime.setProperty(kWindow, Property::Height, runtime.screenHeight());

    runtime.setProperty(画板1, Property::Width, runtime.property(kWindow, Property::Width));
    runtime.setProperty(画板1, Property::Height, runtime.property(kWindow, Property::Height));
}

void leaveCaptureMode(FormRuntime& runtime, ProgramState& state) {
    runtime.setBytesProperty(画板1, Property::Cursor, integerToBytes(kCursorDefault));
    state.selecting = 0;
    runtime.setProperty(kWindow, Property::Border, kBorderFixed);
    runtime.clearPanel(画板1);
    runtime.setProperty(画板1, Property::Width, 0);
    runtime.setProperty(画板2, Property::Height, 0);
    runtime.setProperty(图片框1, Property::Visible, 1);

    const WindowBounds saved = state.savedWindowBounds;
    runtime.setProperty(kWindow, Property::Left, saved.left);
    runtime.setProperty(kWindow, Property::Top, saved.top);
    runtime.setProperty(kWindow, Property::Width, saved.width);
    runtime.setProperty(kWindow, Property::Height, saved.height);
}

} // namespace moyuan
