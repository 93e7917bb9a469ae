// Cost of one pointer move of a drag, against the cost of one whole-screen snapshot, on the
// real Win32 runtime with the real handlers: capture_bench [moves] prints both as medians and
// as ratios, for a 200 x 100 selection and for a nearly full-screen one.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/program_state.h"
#include "capture/capture_mode.h"
#include "capture/gdi_snapshot.h"
#include "capture/region_selection.h"
#include "forms/control_ids.h"
#include "forms/main_form.h"
#include "runtime/win32/win32_form_runtime.h"
#include "tests/win/pump_messages.h"

namespace {

using moyuan::testing_support::pumpMessages;

double medianMs(int rounds, const std::function<void(int)>& work) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work(i);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    using namespace moyuan;
    const int moves = argc > 1 ? std::max(3, std::atoi(argv[1])) : 40;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);

    ProgramState state;
    win32::Win32FormRuntime runtime;
    runtime.startRuntime(mainForm(state));
    runtime.loadStartWindow(kMainWindowId);
    pumpMessages();

    gdi::snapshotScreen(); // warm-up
    const double snapshot = medianMs(moves, [](int) { gdi::snapshotScreen(); });

    enterCaptureMode(runtime, state);
    pumpMessages();

    struct Selection {
        const char* name;
        int startX, startY, endX, endY;
    };
    const Selection selections[] = {
        {"200 x 100 selection", 100, 100, 300, 200},
        {"nearly full-screen selection", 1, 1, w - 2, h - 2},
    };
    std::printf("screen %d x %d, whole-screen snapshot: median %.2f ms\n", w, h, snapshot);
    for (const Selection& s : selections) {
        startDrag(state, {s.startX, s.startY, 0});
        previewSelection(runtime, state, {s.endX, s.endY, 0});
        pumpMessages();
        // The pointer wobbles by one pixel, as it does in a real drag.
        const double move = medianMs(moves, [&](int i) {
            previewSelection(runtime, state, {s.endX - (i % 2), s.endY - (i % 2), 0});
            pumpMessages();
        });
        std::printf("%s: %zu bytes a picture, median %.2f ms a move, %.3f of a whole-screen snapshot\n",
                    s.name, state.capturedPicture.size(), move, move / snapshot);
    }
    leaveCaptureMode(runtime, state);
    pumpMessages();
    return 0;
}
