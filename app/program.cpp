#include "app/program.h"

#include "app/program_state.h"
#include "forms/control_ids.h"
#include "forms/main_form.h"

namespace moyuan {

ProgramState& programState() {
    static ProgramState state;
    return state;
}

int startProgram(FormRuntime& runtime) {
    runtime.startRuntime(mainForm(programState()));
    runtime.addExitRoutine(cleanUpProgram);
    runtime.loadStartWindow(kMainWindowId);
    runtime.runMessageLoop();
    return 0;
}

void cleanUpProgram() {
    ProgramState& state = programState();
    // Release the memory itself, not just the contents: clear() would keep the capacity.
    Text().swap(state.storagePath);
    PictureBytes().swap(state.capturedPicture);
}

} // namespace moyuan
