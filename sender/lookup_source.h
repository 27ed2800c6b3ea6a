// The lookup table's bytes as the sender reads them: from the open file where it lies, or from
// memory when the file cannot be read a second time (a pipe).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file.h"

namespace lumbra {

// A source read whole into memory may hold this much; above it, nothing is sent.
constexpr std::uint64_t kLookupMemoryLimit = 64ull << 20;

enum class LookupLoad { loaded, too_large, unreadable };

class LookupSource {
  public:
    // A regular file that reports a size is read where it lies. Anything else (a pipe, a FIFO, a
    // device, a file that reports no size) is read whole into memory first, since its size says
    // nothing and it cannot be read again for the check or a repeat. Nothing is kept when it
    // holds more than memory_limit bytes or a read fails.
    LookupLoad load(platform::File file, std::uint64_t memory_limit);
    // Bytes already read, sent as a file with these contents would be.
    void hold(std::string bytes);
    // Bytes converted from what was read: a repeat sends them without converting again.
    void hold_converted(std::string bytes);
    bool is_converted() const { return converted_; }

    bool is_open() const { return in_memory_ || file_.is_open(); }
    void close();

    std::size_t read(std::uint8_t* buffer, std::size_t n);
    // A read of the file failed: what was read is not the whole table.
    bool read_failed() const { return !in_memory_ && file_.read_failed(); }
    void seek_to_start();
    // The size known at the start: the file's reported size, or the bytes held.
    std::uint64_t size();

  private:
    platform::File file_;
    std::string memory_;
    std::size_t position_ = 0;
    bool in_memory_ = false;
    bool converted_ = false;
};

}  // namespace lumbra
