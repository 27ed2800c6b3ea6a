// Formats wire bursts as hex lines for people reading a failed exchange.
#include "tools/velmora-sim/transcript.h"

#include <cstdio>

namespace sim {

std::string format_burst(const Burst& burst) {
    char head[48];
    std::snprintf(head, sizeof head, "%9llu ms  %s ", static_cast<unsigned long long>(burst.time),
                  burst.direction == Direction::to_terminal ? "host>term" : "term>host");
    std::string line = head;
    std::string printable;
    for (std::uint8_t b : burst.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
        printable += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
    }
    return line + "  |" + printable + "|";
}

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
