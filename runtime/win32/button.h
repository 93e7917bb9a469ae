// A push button: caption centred and wrapped, never a default button. Its click arrives at
// the parent as WM_COMMAND; the parent finds the button by its window handle, since
// WM_COMMAND carries only the low 16 bits of an id.
#pragma once

#include "runtime/win32/control.h"

namespace moyuan::win32 {

class Button final : public Control {
public:
    Button(const ControlSpec& spec, HWND parent);
    ~Button() override;
    HWND window() const override { return hwnd_; }

    // The parent's report of a click (BN_CLICKED).
    void clicked() { raise(EventCode::Click); }

private:
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND hwnd_ = nullptr;
};

} // namespace moyuan::win32
