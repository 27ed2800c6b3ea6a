// Asking the terminal for its records and receiving them into the output file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/reader.h"

namespace ravelo {

constexpr std::uint32_t kOnlineAnswerLimitMs = 500;
constexpr std::uint32_t kOfflineAnswerLimitMs = 2000;
constexpr std::uint32_t kRecordLimitMs = 300;
constexpr std::size_t kAnswerKeep = 10;
constexpr std::size_t kRecordKeep = 255;
constexpr std::size_t kRecordOverhead = 4;  // sequence byte, two checksum bytes, CR

// The 16-bit sum of the sequence byte and the data bytes.
std::uint16_t record_sum(const std::uint8_t* sequence_and_data, std::size_t n);

// The records stored (0 or more) after "OVER\r"; 0 when the terminal never answered "READ\r";
// -1 when the record phase failed. reader.port must be open.
int receive_records(Reader& reader);

}  // namespace ravelo
