// The program's life cycle: its entry and its clean-up routine.
#pragma once

#include "runtime/form_runtime.h"

namespace moyuan {

// Starts the runtime with the main form, registers the clean-up, shows the main window and
// runs the message loop; returns 0 once the loop has ended.
int startProgram(FormRuntime& runtime);

// Releases the storage folder and the last captured picture. Runs from the exit list.
void cleanUpProgram();

} // namespace moyuan
