// The balloon control: its own small window is never shown; it holds the balloon in which
// notices appear.
#pragma once

#include "runtime/win32/base_window.h"
#include "runtime/win32/control.h"

namespace moyuan::win32 {

class Balloon final : public BaseWindow<Balloon>, public Control {
public:
    Balloon(const ControlSpec& spec, HWND parent);
    HWND window() const override { return hwnd(); }

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return defaultProc(msg, wp, lp); }
};

} // namespace moyuan::win32
