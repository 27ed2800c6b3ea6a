// The terminal's end of a pseudo-terminal at a real line's pace: bytes released at the speed's
// rate, received messages timed as if they had crossed the wire.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

using Bytes = std::vector<std::uint8_t>;

// Nanoseconds on the monotonic clock.
std::int64_t now_ns();

struct Message {
    Bytes bytes;           // up to and with the CR; empty when none came in time
    std::int64_t first;    // when its first byte reached the terminal's end
    std::int64_t crossed;  // when its last byte would have crossed a real line
};

class PacedLine {
  public:
    // fifo_trigger 0: every byte is handed over on its own as it arrives, the worst case for the
    // receiver. N: as a 16550A's receive FIFO hands bytes to the driver, N at a time, and the rest
    // once the line has been quiet for four character times.
    PacedLine(int fd, std::uint32_t baud, std::size_t fifo_trigger = 0);
    std::int64_t byte_ns() const { return byte_ns_; }

    // Releases the bytes at the line's rate, starting no earlier than `from`; returns when the
    // last one went out.
    std::int64_t send(const Bytes& bytes, std::int64_t from = 0);
    // The next CR-ended message, waiting at most limit_ms for it.
    Message receive(int limit_ms);

  private:
    int fd_;
    std::int64_t byte_ns_;  // 10 bits a byte (8N1)
    std::size_t fifo_trigger_;
    std::int64_t out_free_ = 0;
    std::int64_t in_free_ = 0;
    Bytes pending_;
    std::int64_t pending_since_ = 0;
};

}  // namespace bench
