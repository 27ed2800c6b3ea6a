// Formats wire bursts as hex lines for people reading an exchange.
#include "common/wire_trace.h"

#include <cstdio>

namespace common {

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

}  // namespace common
