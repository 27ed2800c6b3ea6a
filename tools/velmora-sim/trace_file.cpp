// Parses wire trace lines, e.g. "     1001 ms  host>term  52 45 41 44 0D  |READ.|".
#include "tools/velmora-sim/trace_file.h"

#include <sstream>

namespace sim {

namespace {

using common::Direction;

bool parse_direction(const std::string& label, Direction* direction) {
    if (label == "host>term") {
        *direction = Direction::to_terminal;
    } else if (label == "term>host") {
        *direction = Direction::from_terminal;
    } else {
        return false;
    }
    return true;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Time, "ms", direction, then two-digit hex bytes up to the printable column (which is optional).
bool parse_burst(const std::string& line, common::Burst* burst) {
    std::istringstream in(line);
    std::string unit;
    std::string label;
    if (!(in >> burst->time >> unit >> label) || unit != "ms") return false;
    if (!parse_direction(label, &burst->direction)) return false;
    std::string token;
    while (in >> token && token[0] != '|') {
        const int high = hex_digit(token[0]);
        const int low = token.size() == 2 ? hex_digit(token[1]) : -1;
        if (high < 0 || low < 0) return false;
        burst->bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return !burst->bytes.empty();
}

bool skipped(const std::string& line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

bool parse_trace(const std::string& text, Trace* trace, std::string* error) {
    Trace out;
    std::istringstream in(text);
    std::string line;
    std::size_t number = 0;
    std::size_t run = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();  // a trace from Windows
        if (skipped(line)) continue;
        TraceEntry entry;
        if (!parse_burst(line, &entry.burst)) {
            *error = "line " + std::to_string(number) + " is not a trace line: \"" + line + "\"";
            return false;
        }
        // Each program run appends to the same file with its clock starting again.
        if (!out.empty() && entry.burst.time < out.back().burst.time) ++run;
        entry.line_number = number;
        entry.run = run;
        entry.text = line;
        out.push_back(std::move(entry));
    }
    if (out.empty()) {
        *error = "no trace lines in it";
        return false;
    }
    *trace = std::move(out);
    return true;
}

}  // namespace sim
