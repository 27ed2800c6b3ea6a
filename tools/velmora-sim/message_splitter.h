// Cuts the bytes a terminal receives into CR-ended messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/velmora-sim/framing.h"

namespace sim {

class MessageSplitter {
  public:
    // Returns the messages completed by these bytes, each with its CR.
    std::vector<Bytes> feed(const std::uint8_t* data, std::size_t n);
    void clear() { partial_.clear(); }

  private:
    Bytes partial_;
};

}  // namespace sim
