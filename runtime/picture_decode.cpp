// Placeholder until the decoder lands: every picture fails to decode.
#include "runtime/picture_decode.h"

namespace moyuan {

std::optional<Image> decodePicture(std::span<const std::uint8_t>) { return std::nullopt; }

void blendOver(Image&, std::uint8_t, std::uint8_t, std::uint8_t) {}

} // namespace moyuan
