#include "runtime/form_runtime.h"

namespace moyuan {

std::vector<std::uint8_t> integerToBytes(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

} // namespace moyuan
