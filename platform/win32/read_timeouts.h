// The serial read time-outs of both kinds of read, as plain numbers the Windows line applies;
// free of <windows.h>, so the host tests check the arithmetic too.
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

// A driver may turn the total time-out into 100-ns units in 32 bits, which overflows above
// about 429 s; no slice is longer than this, and a longer wait is more slices.
constexpr std::uint32_t kLongestWaitSliceMs = 65536;

// The longest wait slice not over limit_ms: the largest power of two, at most
// kLongestWaitSliceMs. Each change of the time-outs costs a driver call (two Wine-server round
// trips under Wine), and a slice taken from a few fixed lengths stays the same from byte to byte
// and record to record. A slice that ends before the limit only means the caller waits again for
// the rest.
constexpr std::uint32_t wait_slice_ms(std::uint32_t limit_ms) {
    std::uint32_t slice = 1;
    while (slice <= limit_ms / 2 && slice < kLongestWaitSliceMs) slice *= 2;
    return slice;
}

// A one-byte read that ends when the byte is there or after a slice of limit_ms: the plain
// total time-out, which every driver honours (some USB-serial drivers take the MAXDWORD interval
// and multiplier form literally and block). A limit of 0 must poll: all three at 0 would wait
// without end. A read of no more bytes than are queued returns at once under these too.
constexpr ReadTimeouts waiting_read_timeouts(std::uint32_t limit_ms) {
    return limit_ms == 0 ? polling_read_timeouts() : ReadTimeouts{0, 0, wait_slice_ms(limit_ms)};
}

}  // namespace platform
