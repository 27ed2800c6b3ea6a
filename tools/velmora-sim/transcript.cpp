// Keeps the simulator's wire bursts and hands each formatted line to its sink at once.
#include "tools/velmora-sim/transcript.h"

namespace sim {

void Transcript::add(Direction direction, std::uint64_t time, const std::uint8_t* data,
                     std::size_t n) {
    if (n == 0) return;
    bursts_.push_back({direction, time, Bytes(data, data + n)});
    if (sink_) sink_(format_burst(bursts_.back()));
}

std::string Transcript::text() const {
    std::string out;
    for (const Burst& burst : bursts_) out += format_burst(burst) + "\n";
    return out;
}

}  // namespace sim
