// Bytes the terminal has scheduled to send, released to the line when their time comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/transcript.h"

namespace sim {

class Outbox {
  public:
    explicit Outbox(Transcript& transcript) : transcript_(transcript) {}

    void schedule(std::uint64_t at, const Bytes& bytes);
    // Drops what has not gone out yet (the terminal changed its mind, e.g. on a new request).
    void cancel_pending();
    // Releases every burst due by now, in time order, logging each at its own time.
    void advance_to(std::uint64_t now);
    std::optional<std::uint64_t> next_time() const;

    std::size_t available() const { return ready_.size(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n);
    // Nothing scheduled and nothing left for the line to carry.
    bool empty() const { return pending_.empty() && ready_.empty(); }

  private:
    Transcript& transcript_;
    std::multimap<std::uint64_t, Bytes> pending_;  // equal times keep their order
    std::deque<std::uint8_t> ready_;
};

}  // namespace sim
