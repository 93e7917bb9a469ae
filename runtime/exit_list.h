// The ordered list of routines that run once when the program ends normally.
#pragma once

#include <algorithm>
#include <vector>

#include "runtime/form_runtime.h"

namespace moyuan {

class ExitList {
public:
    // Adding a routine that is already listed leaves the list unchanged.
    void add(ExitRoutine routine) {
        if (routine && std::find(routines_.begin(), routines_.end(), routine) == routines_.end())
            routines_.push_back(routine);
    }

    // Runs each routine once, in the order they were added, and empties the list, so a
    // second call runs nothing.
    void runAll() {
        auto routines = std::move(routines_);
        routines_.clear();
        for (auto routine : routines) routine();
    }

    // Forgets every routine without running it: the path of a fatal error.
    void discard() { routines_.clear(); }

    std::size_t size() const { return routines_.size(); }

private:
    std::vector<ExitRoutine> routines_;
};

} // namespace moyuan
