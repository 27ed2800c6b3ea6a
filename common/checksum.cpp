// The byte sum both programs protect their records with.
#include "common/checksum.h"

namespace common {

std::uint16_t byte_sum(const std::uint8_t* bytes, std::size_t n) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += bytes[i];
    return static_cast<std::uint16_t>(sum);
}

}  // namespace common
