#include <gtest/gtest.h>

#include "app/program.h"
#include "app/program_state.h"
#include "forms/control_ids.h"
#include "forms/main_form.h"
#include "tests/support/fake_form_runtime.h"
#include "tests/support/program_fixture.h"

namespace moyuan::test {
namespace {

using ProgramLifecycle = RunningProgram;

TEST_F(ProgramLifecycle, StartShowsTheWindowCentredWithItsControls) {
    EXPECT_TRUE(runtime.started);
    EXPECT_TRUE(runtime.messageLoopRan);
    EXPECT_EQ(runtime.fatalError, "");
    EXPECT_EQ(runtime.currentDirectory, runtime.exeFolder);

    EXPECT_EQ(runtime.bounds(kWindow), (Bounds{660, 390, 600, 300}));
    EXPECT_EQ(runtime.border(kWindow), kBorderFixed);

    struct Expected {
        ControlId id;
        Bounds place;
        bool visible;
    };
    const Expected controls[] = {
        {按钮1, {464, 32, 72, 40}, true},   {按钮2, {464, 96, 72, 40}, true},
        {按钮3, {464, 160, 72, 40}, true},  {图片框1, {0, 0, 400, 272}, true},
        {画板1, {0, 0, 0, 0}, true},        {画板2, {0, 0, 0, 0}, false},
        {气球提示框1, {432, 80, 26, 26}, false},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(testing::Message() << std::hex << c.id);
        EXPECT_EQ(runtime.bounds(c.id), c.place);
        EXPECT_EQ(runtime.visible(c.id), c.visible);
    }
    // The banner is the picture box's picture from the start.
    EXPECT_FALSE(runtime.picture(图片框1).empty());
}

TEST(ProgramStart, CentresOnAnotherScreenSize) {
    programState() = ProgramState{};
    FakeFormRuntime runtime;
    runtime.screen = Image(1366, 768);
    startProgram(runtime);
    EXPECT_EQ(runtime.bounds(kWindow), (Bounds{383, 234, 600, 300}));
    programState() = ProgramState{};
}

TEST_F(ProgramLifecycle, ExitListHoldsTheCleanUpOnce) {
    EXPECT_EQ(runtime.exitRoutineCount(), 1u);
    // Adding the clean-up again changes nothing: it is the routine already listed.
    runtime.addExitRoutine(cleanUpProgram);
    EXPECT_EQ(runtime.exitRoutineCount(), 1u);
}

TEST_F(ProgramLifecycle, ExitStepReleasesTheFolderAndThePicture) {
    state().storagePath = "/some/folder/that/is/long/enough/to/live/on/the/heap/";
    state().capturedPicture = PictureBytes(58'462, 0x5A);

    runtime.finishProgram();

    EXPECT_TRUE(state().storagePath.empty());
    EXPECT_TRUE(state().capturedPicture.empty());
    // Released, not merely emptied.
    EXPECT_EQ(state().capturedPicture.capacity(), 0u);
    EXPECT_EQ(state().storagePath.capacity(), Text().capacity());
    EXPECT_EQ(runtime.exitRoutineCount(), 0u);
}

TEST(ProgramStart, AFormWithoutTheStartWindowIsFatal) {
    programState() = ProgramState{};
    programState().storagePath = "kept";
    FakeFormRuntime runtime;
    FormDefinition other = mainForm(programState());
    other.windows.front().window.id = kMainWindowId + 1;

    runtime.startRuntime(other);
    runtime.addExitRoutine(cleanUpProgram);
    runtime.loadStartWindow(kMainWindowId);

    EXPECT_NE(runtime.fatalError, "");
    EXPECT_FALSE(runtime.windowLoaded());
    EXPECT_EQ(runtime.windowHandle(kWindow), 0u);
    // A fatal error skips the exit step: nothing is left to run.
    EXPECT_EQ(runtime.exitRoutineCount(), 0u);
    runtime.exitStep();
    EXPECT_EQ(programState().storagePath, "kept");
    programState() = ProgramState{};
}

} // namespace
} // namespace moyuan::test
