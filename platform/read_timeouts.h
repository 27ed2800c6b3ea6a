// The serial read time-outs of both kinds of read, as plain numbers the Windows line applies.
#pragma once

#include <cstdint>

namespace platform {

// ReadIntervalTimeout, ReadTotalTimeoutMultiplier and ReadTotalTimeoutConstant, in ms.
struct ReadTimeouts {
    std::uint32_t interval;
    std::uint32_t multiplier;
    std::uint32_t constant;
    bool operator==(const ReadTimeouts& o) const {
        return interval == o.interval && multiplier == o.multiplier && constant == o.constant;
    }
};

constexpr std::uint32_t kNoInterval = 0xFFFFFFFFu;  // MAXDWORD

// Reads return at once with what is buffered.
constexpr ReadTimeouts polling_read_timeouts() {
    return {kNoInterval, 0, 0};
}

// A one-byte read that ends when the byte is there or after limit_ms: the plain total time-out,
// which every driver honours (some USB-serial drivers take the MAXDWORD interval and multiplier
// form literally and block). A limit of 0 must poll: all three at 0 would wait without end.
constexpr ReadTimeouts waiting_read_timeouts(std::uint32_t limit_ms) {
    return limit_ms == 0 ? polling_read_timeouts() : ReadTimeouts{0, 0, limit_ms};
}

}  // namespace platform
