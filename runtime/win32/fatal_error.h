// The runtime's fatal errors: its own error box, then the process ends with exit code -1
// without running the exit list.
#pragma once

#include <string_view>

namespace moyuan::win32 {

[[noreturn]] void fatalError(std::wstring_view message);

// Makes an allocation that cannot be satisfied a fatal error.
void installOutOfMemoryHandler();

} // namespace moyuan::win32
