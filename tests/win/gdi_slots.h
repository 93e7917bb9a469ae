// Counting GDI objects where GetGuiResources cannot: Wine's does not count them. The process's
// handle table has a fixed number of slots, so the slots still free tell exactly whether an
// operation left an object behind.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "runtime/win32/scoped_win.h"

namespace moyuan::testing_support {

// Holds GDI object slots of the process, so that the next object anybody creates fails.
class GdiSlotsTaken {
public:
    // Takes every slot left and tells how many that was.
    std::size_t takeAll() {
        std::size_t taken = 0;
        for (;;) {
            win32::UniqueRegion region(CreateRectRgn(0, 0, 1, 1));
            if (!region) return taken;
            regions_.push_back(std::move(region));
            ++taken;
        }
    }
    std::size_t count() const { return regions_.size(); }
    // Gives back `n` slots.
    void giveBack(std::size_t n) { regions_.resize(regions_.size() - std::min(n, regions_.size())); }

private:
    std::vector<win32::UniqueRegion> regions_;
};

// How many more GDI objects the process could create now.
inline std::size_t freeGdiSlots() { return GdiSlotsTaken().takeAll(); }

} // namespace moyuan::testing_support
