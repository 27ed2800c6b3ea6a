// The checksum byte rule of both protocols: a byte equal to CR goes on the wire as 0x0E.
#pragma once

#include <cstddef>
#include <cstdint>

namespace common {

constexpr std::uint8_t kCarriageReturn = 0x0D;
constexpr std::uint8_t kLineFeed = 0x0A;

// A checksum byte as it travels: 0x0D would end the message, so it goes as 0x0E.
inline std::uint8_t wire_checksum_byte(std::uint8_t byte) {
    return byte == kCarriageReturn ? 0x0E : byte;
}

// The 16-bit sum of the bytes, each taken unsigned.
std::uint16_t byte_sum(const std::uint8_t* bytes, std::size_t n);

}  // namespace common
