// Decoding the pictures the program makes: uncompressed 24-bit BMP images stored bottom-up.
// Anything else (top-down rows, other depths, compression, PNG) is not a picture this reader
// knows, and gives no image.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "tests/support/image.h"

namespace moyuan::test {

std::optional<Image> readBmp(std::span<const std::uint8_t> bytes);

} // namespace moyuan::test
