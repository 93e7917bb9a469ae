// The banner picture that the picture box shows at start: a PNG built into the program.
#pragma once

#include <cstdint>
#include <span>

namespace moyuan {

std::span<const std::uint8_t> bannerPng();

} // namespace moyuan
