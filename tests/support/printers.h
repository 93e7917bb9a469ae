// Readable values in test failure messages for the program's small value types.
#pragma once

#include <ostream>

#include "app/program_state.h"
#include "runtime/form_definition.h"

namespace moyuan {

inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "rgb(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}

inline void PrintTo(const Bounds& b, std::ostream* os) {
    *os << "{left " << b.left << ", top " << b.top << ", width " << b.width << ", height "
        << b.height << "}";
}

inline void PrintTo(const WindowBounds& b, std::ostream* os) {
    *os << "{left " << b.left << ", top " << b.top << ", width " << b.width << ", height "
        << b.height << "}";
}

inline void PrintTo(EventCode code, std::ostream* os) {
    switch (code) {
    case EventCode::Click: *os << "click"; return;
    case EventCode::LeftPress: *os << "left press"; return;
    case EventCode::LeftRelease: *os << "left release"; return;
    case EventCode::RightPress: *os << "right press"; return;
    case EventCode::MouseMove: *os << "move"; return;
    }
    *os << "event " << static_cast<int>(code);
}

} // namespace moyuan
