// Received bytes taken off the serial line in one system call and handed out as they are asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

// The protocols poll a byte or three at a time; one system call per poll costs more than the
// bytes' wire time. Bytes the callers have not asked for yet stay here, in order, just as they
// would have stayed in the driver, so what a caller sees does not depend on this buffer.
class ReadAhead {
  public:
    static constexpr std::size_t kCapacity = 256;

    // Up to n buffered bytes; when none are buffered, first refills with fill(bytes, capacity),
    // which returns at once with what the driver holds.
    template <typename Fill>
    std::size_t read(std::uint8_t* out, std::size_t n, Fill fill) {
        if (n == 0) return 0;
        if (empty()) {
            start_ = 0;
            end_ = fill(bytes_, kCapacity);
        }
        const std::size_t k = n < end_ - start_ ? n : end_ - start_;
        std::memcpy(out, bytes_ + start_, k);
        start_ += k;
        return k;
    }

    // A byte taken off the line by a wait, handed out before anything read after it.
    void put(std::uint8_t byte) {
        start_ = 0;
        end_ = 1;
        bytes_[0] = byte;
    }

    bool empty() const { return start_ == end_; }
    void clear() { start_ = end_ = 0; }

  private:
    std::uint8_t bytes_[kCapacity] = {};
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

}  // namespace platform
