#include "runtime/win32/dib.h"

#include <cstring>

namespace moyuan::win32 {

Dib makeDib(const Image& image) {
    if (image.width <= 0 || image.height <= 0) return {};
    BITMAPINFO bi = topDownInfo32(image.width, image.height);
    void* bits = nullptr;
    Dib dib;
    dib.bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap || !bits) return {};
    auto* out = static_cast<std::uint8_t*>(bits);
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    const std::uint8_t* in = image.rgba.data();
    for (std::size_t i = 0; i < pixels; ++i, in += 4, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 0;
    }
    GdiFlush();
    dib.width = image.width;
    dib.height = image.height;
    return dib;
}

} // namespace moyuan::win32
