// A wire transcript: every burst of bytes with its direction and time, one hex line per burst.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/wire_trace.h"
#include "tools/velmora-sim/framing.h"

namespace sim {

// The programs' VELMORA_TRACE files use the same lines.
using common::Burst;
using common::Direction;
using common::format_burst;

class Transcript {
  public:
    void add(Direction direction, std::uint64_t time, const std::uint8_t* data, std::size_t n);
    const std::vector<Burst>& bursts() const { return bursts_; }
    std::string text() const;
    // Called with each formatted line as it is added (the program writes them to a file at once,
    // so a killed simulator still leaves its transcript).
    void set_line_sink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

  private:
    std::vector<Burst> bursts_;
    std::function<void(const std::string&)> sink_;
};

}  // namespace sim
