// The main window's form: the window, its seven controls and the handler of each event.
#pragma once

#include "app/program_state.h"
#include "runtime/form_definition.h"

namespace moyuan {

// The handlers bound in the form work on the given state, which must outlive the form.
FormDefinition mainForm(ProgramState& state);

} // namespace moyuan
