// libFuzzer entry for the picture decoder: any bytes, as a control could be given them.
// Beyond what the sanitizers catch, a decoded picture must be consistent with its own size,
// and blending it must leave every pixel opaque.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<moyuan::Image> image = moyuan::decodePicture(std::span(data, size));
    if (!image) return 0;

    const std::uint64_t pixels =
        static_cast<std::uint64_t>(image->width) * static_cast<std::uint64_t>(image->height);
    if (image->width <= 0 || image->height <= 0 || image->width > moyuan::kMaxPictureSide ||
        image->height > moyuan::kMaxPictureSide || pixels > moyuan::kMaxPicturePixels ||
        image->rgba.size() != pixels * 4)
        std::abort();

    moyuan::blendOver(*image, 0x12, 0x34, 0x56);
    for (std::size_t i = 3; i < image->rgba.size(); i += 4)
        if (image->rgba[i] != 0xFF) std::abort();
    return 0;
}
