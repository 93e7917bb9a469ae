#include "capture/picture_bytes.h"

namespace moyuan {

namespace {

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

PictureBytes makePictureBytes(int width, int height) {
    const std::size_t total = pictureBytesSize(width, height);
    PictureBytes picture(total); // zero-filled: the padding bytes stay 0
    std::uint8_t* p = picture.data();

    // File header.
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(total));
    put32(p + 10, static_cast<std::uint32_t>(kBmpPixelOffset));

    // Info header: positive height, so the rows are stored bottom-up.
    std::uint8_t* info = p + kBmpFileHeaderSize;
    put32(info + 0, static_cast<std::uint32_t>(kBmpInfoHeaderSize));
    put32(info + 4, static_cast<std::uint32_t>(width));
    put32(info + 8, static_cast<std::uint32_t>(height));
    put16(info + 12, 1);  // planes
    put16(info + 14, 24); // bits per pixel
    put32(info + 20, static_cast<std::uint32_t>(total - kBmpPixelOffset));
    return picture;
}

std::span<std::uint8_t> pictureRows(PictureBytes& picture) {
    if (picture.size() < kBmpPixelOffset) return {};
    return std::span<std::uint8_t>(picture).subspan(kBmpPixelOffset);
}

} // namespace moyuan
