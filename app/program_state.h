// The program's state: six variables shared by every handler, alive for the whole process.
// A leaf header: the handlers include it, it includes only the runtime's value types.
#pragma once

#include <cstdint>

#include "runtime/form_runtime.h"

namespace moyuan {

struct WindowBounds {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

struct ProgramState {
    Text storagePath;             // the storage folder; empty while none is set
    PictureBytes capturedPicture; // the last captured region; empty while there is none
    std::int32_t selecting = 0;   // 1 while a drag is in progress; only the value 1 counts
    std::int32_t dragStartX = 0;
    std::int32_t dragStartY = 0;
    WindowBounds savedWindowBounds;
};

// The one instance of the program, which the entry and the clean-up routine use.
ProgramState& programState();

} // namespace moyuan
