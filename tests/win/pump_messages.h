// Handles every message waiting in this thread's queue, as a message loop would between two
// inputs: paints, posted clicks and the like are done when it returns.
#pragma once

#include <windows.h>

namespace moyuan::testing_support {

inline void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace moyuan::testing_support
