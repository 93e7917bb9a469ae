// Times whole-screen snapshots: snapshot_bench [rounds] prints the median, fastest and
// slowest of that many rounds (default 30) in milliseconds, after two rounds of warm-up.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "capture/gdi_snapshot.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    for (int i = 0; i < 2; ++i) {
        if (moyuan::gdi::snapshotScreen().empty()) {
            std::fprintf(stderr, "snapshot of the %d x %d screen failed\n", width, height);
            return 1;
        }
    }

    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(rounds));
    std::size_t bytes = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const moyuan::PictureBytes picture = moyuan::gdi::snapshotScreen();
        const auto stop = std::chrono::steady_clock::now();
        if (picture.empty()) {
            std::fprintf(stderr, "round %d: the snapshot failed\n", i);
            return 1;
        }
        bytes = picture.size();
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    std::printf("whole screen %d x %d (%zu bytes), %d rounds: median %.3f ms, min %.3f ms, "
                "max %.3f ms\n",
                width, height, bytes, rounds, median, ms.front(), ms.back());
    return 0;
}
