// Builds a form's window and its controls, in the order that keeps the screen quiet:
// everything hidden, controls in reverse stacking order, then stacked, then shown.
#pragma once

#include <memory>

#include "runtime/form_definition.h"
#include "runtime/win32/main_window.h"

namespace moyuan::win32 {

// The start position of a centred window on the primary screen, halves truncated.
Bounds centredBounds(const Bounds& size);

// Creates the window and its controls; each control's events go to the sink that
// makeSink returns for it. Returns null when the window cannot be created.
std::unique_ptr<MainWindow> buildWindow(const WindowForm& form,
                                        const std::function<EventSink(const Control&)>& makeSink);

} // namespace moyuan::win32
