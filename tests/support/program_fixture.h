// The program started against the fake runtime, on a screen filled with a pattern in which
// every pixel differs from its neighbours and none is the outline's pure red.
#pragma once

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/program_state.h"
#include "forms/control_ids.h"
#include "tests/support/fake_form_runtime.h"

namespace moyuan::test {

inline Rgb patternColour(int x, int y) {
    // Neighbours differ in red by 7 (across) or 13 (down), neither a multiple of 256; green
    // is never 0, so no pixel is (255, 0, 0).
    return Rgb{static_cast<std::uint8_t>((x * 7 + y * 13) % 256),
               static_cast<std::uint8_t>(1 + (x * 3 + y * 5) % 255),
               static_cast<std::uint8_t>((x * 11 + y * 17) % 256)};
}

inline constexpr Rgb kOutlineRed{255, 0, 0};

// The default screen filled with the pattern, made once.
inline const Image& patternScreen() {
    static const Image screen = [] {
        Image image(FakeFormRuntime::kDefaultScreenWidth, FakeFormRuntime::kDefaultScreenHeight);
        Rgb* pixel = image.pixels.data();
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) *pixel++ = patternColour(x, y);
        return image;
    }();
    return screen;
}

class RunningProgram : public ::testing::Test {
protected:
    void SetUp() override {
        programState() = ProgramState{};
        runtime.screen = patternScreen();
        ASSERT_EQ(startProgram(runtime), 0);
        ASSERT_TRUE(runtime.windowLoaded());
    }

    void TearDown() override { programState() = ProgramState{}; }

    ProgramState& state() { return programState(); }

    void enterCaptureMode() { runtime.click(按钮1); }

    // A left press at the first corner and a move to the second, the button still held.
    void drag(int x0, int y0, int x1, int y1) {
        runtime.mouse(画板1, EventCode::LeftPress, x0, y0);
        runtime.mouse(画板1, EventCode::MouseMove, x1, y1);
    }

    // A whole capture: the "截图" click, a drag and the release that ends capture mode.
    void captureRegion(int x0, int y0, int x1, int y1) {
        enterCaptureMode();
        drag(x0, y0, x1, y1);
        runtime.mouse(画板1, EventCode::LeftRelease, x1, y1);
    }

    FakeFormRuntime runtime;
};

} // namespace moyuan::test
