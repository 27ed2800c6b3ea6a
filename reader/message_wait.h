// Waiting for one CR-ended message from the terminal, byte by byte, within a time limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/serial.h"

namespace ravelo {

constexpr std::uint8_t kCarriageReturn = 0x0D;

// The receive buffer of one transfer (256 bytes, as the terminal's longest message needs).
struct MessageBuffer {
    std::uint8_t bytes[256] = {};
    std::size_t length = 0;
    std::uint8_t last = 0;
};

struct MessageRules {
    std::uint32_t limit_ms = 0;
    std::size_t keep = 0;  // bytes stored at most; later bytes are dropped
    // Whether a dropped byte still becomes the last byte, so that a CR ends an overlong message.
    bool dropped_bytes_count = false;
};

// `stopped`: a stop signal was caught; the transfer ends as a failed one would. `failed`: the
// line failed outright (an adapter pulled out); nothing more can come.
enum class WaitEnd { complete, timed_out, stopped, failed };

// Empties the buffer, then polls one byte at a time until the last byte is a CR, the limit
// has passed (elapsed >= limit), the line has failed or a stop was asked for. Between polls it
// sleeps in the line's wait, not in a busy loop.
WaitEnd wait_for_message(platform::SerialLine& line, platform::Clock& clock,
                         const MessageRules& rules, MessageBuffer& buffer);

bool buffer_equals(const MessageBuffer& buffer, const std::string& text);

}  // namespace ravelo
