// What every control of a form has: its id and name from the form, its window, the cursor
// it shows, and a route for its events to the bound handlers.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "runtime/form_definition.h"

namespace moyuan::win32 {

using EventSink = std::function<void(EventCode, const MouseArgs&)>;

class Control {
public:
    explicit Control(const ControlSpec& spec) : spec_(spec) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    virtual HWND window() const = 0;

    ControlId id() const { return spec_.id; }
    ControlKind kind() const { return spec_.kind; }
    std::string_view name() const { return spec_.name; }
    const ControlSpec& spec() const { return spec_; }

    // Cursor code 0 is the control's own default arrow, 2 the cross.
    void setCursorCode(int code) { cursorCode_ = code; }
    int cursorCode() const { return cursorCode_; }
    HCURSOR cursor() const {
        return LoadCursorW(nullptr, cursorCode_ == kCursorCross ? IDC_CROSS : IDC_ARROW);
    }

    void setEventSink(EventSink sink) { sink_ = std::move(sink); }

protected:
    void raise(EventCode code, const MouseArgs& args = {}) {
        if (sink_) sink_(code, args);
    }

private:
    const ControlSpec& spec_;
    int cursorCode_ = kCursorDefault;
    EventSink sink_;
};

// The key state of a mouse message: Ctrl 1, Shift 2, Alt 4.
inline int keyStateOf(WPARAM mouseKeys) {
    int keys = 0;
    if (mouseKeys & MK_CONTROL) keys |= kKeyCtrl;
    if (mouseKeys & MK_SHIFT) keys |= kKeyShift;
    if (GetKeyState(VK_MENU) < 0) keys |= kKeyAlt;
    return keys;
}

// The client coordinates of a mouse message, as unsigned 16-bit values.
inline MouseArgs mouseArgsOf(WPARAM wp, LPARAM lp) {
    return {static_cast<int>(LOWORD(lp)), static_cast<int>(HIWORD(lp)), keyStateOf(wp)};
}

} // namespace moyuan::win32
