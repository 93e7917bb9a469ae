// A picture box: black background, its picture stretched over the whole box with width and
// height scaled separately. Translucent pixels are blended over the background once, when
// the picture is set, not on every paint.
#pragma once

#include "runtime/win32/base_window.h"
#include "runtime/win32/control.h"
#include "runtime/win32/dib.h"

namespace moyuan::win32 {

class PictureBox final : public BaseWindow<PictureBox>, public Control {
public:
    PictureBox(const ControlSpec& spec, HWND parent);
    HWND window() const override { return hwnd(); }

    void setPicture(std::span<const std::uint8_t> bytes);

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    void paint(HDC dc) const;

    Rgb background_;
    Dib picture_;
};

} // namespace moyuan::win32
