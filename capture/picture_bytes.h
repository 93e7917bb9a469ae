// The byte layout of every picture the program handles: a complete uncompressed 24-bit BMP
// file image, rows bottom-up, each row padded with zero bytes to a multiple of 4.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/form_runtime.h"

namespace moyuan {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;

// Bytes per row of a 24-bit picture W pixels wide: 3 x W rounded up to a multiple of 4.
constexpr std::size_t bmpStride(int width) {
    return ((24 * static_cast<std::size_t>(width) + 31) / 32) * 4;
}

// The length of the whole picture: 54 + stride x H.
constexpr std::size_t pictureBytesSize(int width, int height) {
    return kBmpPixelOffset + bmpStride(width) * static_cast<std::size_t>(height);
}

// Allocates the final buffer once with both headers filled in and the pixel area zeroed,
// ready for a reader to write the rows straight behind the header. Width and height must be
// positive; pictureRows() gives the row area.
PictureBytes makePictureBytes(int width, int height);

// The pixel rows of a picture made by makePictureBytes, bottom row first.
std::span<std::uint8_t> pictureRows(PictureBytes& picture);

} // namespace moyuan
