#include "runtime/win32/fatal_error.h"

#include <windows.h>

#include <new>
#include <string>

#include "runtime/win32/test_log.h"

namespace moyuan::win32 {

void fatalError(std::wstring_view message) {
    testLog("fatal error");
    const std::wstring text(message);
    MessageBoxW(nullptr, text.c_str(), L"Runtime error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    testLog("exit code -1");
    // The exit list is dropped with the process: the program's clean-up does not run.
    ExitProcess(0xFFFFFFFFu);
}

void installOutOfMemoryHandler() {
    std::set_new_handler([] { fatalError(L"Out of memory."); });
}

} // namespace moyuan::win32
