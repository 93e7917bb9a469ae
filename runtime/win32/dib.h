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

// The header of a 32-bit top-down DIB of that size: rows from the top, four bytes a pixel
// (blue, green, red, unused), no colour table.
inline BITMAPINFO topDownInfo32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Copies the image's colours into a new DIB section; alpha is ignored (blend first).
Dib makeDib(const Image& image);

} // namespace moyuan::win32
