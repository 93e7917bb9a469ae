// The balloon control: its own small window is never shown; it holds the balloon in which
// notices appear.
#pragma once

#include <memory>

#include "runtime/win32/balloon_notice.h"
#include "runtime/win32/base_window.h"
#include "runtime/win32/control.h"

namespace moyuan::win32 {

class Balloon final : public BaseWindow<Balloon>, public Control {
public:
    Balloon(const ControlSpec& spec, HWND parent);
    ~Balloon() override;
    HWND window() const override { return hwnd(); }

    // The notice, with its tail's tip at the screen point; it replaces any notice shown.
    void showNotice(int x, int y, std::wstring_view text);
    // Every message the program takes from its queue passes here: the notice goes at the
    // next click, wheel turn or key press.
    void observe(const MSG& msg);
    // The program lost activation.
    void programDeactivated();

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return defaultProc(msg, wp, lp); }

private:
    std::unique_ptr<BalloonNotice> notice_; // made at the first notice
};

} // namespace moyuan::win32
