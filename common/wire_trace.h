// The wire trace format both programs and velmora-sim write: one hex line per burst of bytes,
// with its time in milliseconds and its direction, so a user's trace reads like a transcript.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace common {

enum class Direction { to_terminal, from_terminal };

struct Burst {
    Direction direction;
    std::uint64_t time;
    std::vector<std::uint8_t> bytes;
};

// E.g. "     1001 ms  host>term  52 45 41 44 0D  |READ.|"
std::string format_burst(const Burst& burst);

}  // namespace common
