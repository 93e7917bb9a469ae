// Region selection on the frozen screen: a left drag draws the rubber band and captures the
// area inside it on every move.
#pragma once

#include "app/program_state.h"
#include "runtime/form_definition.h"
#include "runtime/form_runtime.h"

namespace moyuan {

// Where the hidden marker panel goes for a drag from (startX, startY) to (x, y): exactly the
// inside of the one-pixel outline, whichever way the drag goes. A size of 0 or less means
// there is nothing inside.
Bounds markerBounds(int startX, int startY, int x, int y);

// Left press on the capture surface.
void startDrag(ProgramState& state, const MouseArgs& at);

// Pointer move on the capture surface: redraws the rubber band and captures its inside.
void previewSelection(FormRuntime& runtime, ProgramState& state, const MouseArgs& at);

} // namespace moyuan
