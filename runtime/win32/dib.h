// A 32-bit top-down DIB section made once from a decoded picture, ready to be blitted.
#pragma once

#include <windows.h>

#include "runtime/picture_decode.h"
#include "runtime/win32/scoped_win.h"

namespace moyuan::win32 {

struct Dib {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return static_cast<bool>(bitmap); }
};

// Copies the image's colours into a new DIB section; alpha is ignored (blend first).
Dib makeDib(const Image& image);

} // namespace moyuan::win32
