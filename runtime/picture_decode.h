// Decoding the pictures that controls are given: our own 24-bit BMP picture bytes and PNG.
// Platform-neutral. Bad input is a clean failure, never a crash or an overlong read.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace moyuan {

// Pixels top row first, four bytes each: red, green, blue, alpha.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// The largest picture a control accepts, in pixels: a generous bound above any screen
// (16384 x 16384), which also caps what a lying header can make the decoder allocate.
inline constexpr std::uint64_t kMaxPicturePixels = 16384ull * 16384ull;
inline constexpr int kMaxPictureSide = 65535;

// Decodes a BMP (uncompressed 24- or 32-bit, bottom-up or top-down) or a PNG (any colour
// type and bit depth libpng reads, interlaced or not). Empty on any error.
std::optional<Image> decodePicture(std::span<const std::uint8_t> bytes);

// A pixel with alpha a below 255 blended over the background: a/255 x colour +
// (1 - a/255) x background, each channel, rounded to nearest. The result is opaque.
void blendOver(Image& image, std::uint8_t bgRed, std::uint8_t bgGreen, std::uint8_t bgBlue);

} // namespace moyuan
