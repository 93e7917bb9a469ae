// The process's entry: the runtime starts, runs the program's entry, then its exit step.
#include <windows.h>

#include <commctrl.h>

#include "app/program.h"
#include "runtime/win32/fatal_error.h"
#include "runtime/win32/win32_form_runtime.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    moyuan::win32::installOutOfMemoryHandler();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    moyuan::win32::Win32FormRuntime runtime;
    moyuan::startProgram(runtime);
    return runtime.exitStep();
}
