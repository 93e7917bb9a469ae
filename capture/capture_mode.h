// Capture mode: the main window becomes a borderless surface over the whole screen that
// shows a frozen picture of it under a cross cursor, and back.
#pragma once

#include "app/program_state.h"
#include "runtime/form_runtime.h"

namespace moyuan {

// The click on "截图".
void enterCaptureMode(FormRuntime& runtime, ProgramState& state);

// A left release or a right press on the capture surface.
void leaveCaptureMode(FormRuntime& runtime, ProgramState& state);

} // namespace moyuan
