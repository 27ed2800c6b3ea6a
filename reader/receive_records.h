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

// How one transfer ended, with the records it stored (those stored before a failure stay).
struct TransferResult {
    enum class End {
        not_begun,  // the terminal never answered "READ\r" (or the port did not open)
        completed,  // "OVER\r" ended the records
        failed,     // the record phase failed part-way
    };
    End end = End::not_begun;
    int stored = 0;

    // A completed transfer that brought records.
    bool received() const { return end == End::completed && stored > 0; }
    // The number the callers of run_transfer are given: the records stored, or -1 for a failure.
    int count_or_failure() const { return end == End::failed ? -1 : stored; }
};

// The whole exchange on the open reader.port.
TransferResult receive_records(Reader& reader);

}  // namespace ravelo
