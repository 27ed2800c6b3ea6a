// Cuts received bytes into CR-ended messages.
#include "tools/velmora-sim/message_splitter.h"

namespace sim {

std::vector<Bytes> MessageSplitter::feed(const std::uint8_t* data, std::size_t n) {
    std::vector<Bytes> done;
    for (std::size_t i = 0; i < n; ++i) {
        partial_.push_back(data[i]);
        if (data[i] == kCr) {
            done.push_back(std::move(partial_));
            partial_.clear();
        }
    }
    return done;
}

}  // namespace sim
