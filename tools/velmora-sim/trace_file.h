// Reads a wire trace (VELMORA_TRACE or --transcript) back into its bursts, for the replay.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/wire_trace.h"

namespace sim {

// One burst line of a trace, as the file has it.
struct TraceEntry {
    common::Burst burst;
    std::size_t line_number = 0;  // 1-based, in the file
    std::size_t run = 0;          // a program's trace starts its clock again in every run
    std::string text;             // the line itself, for reports
};

using Trace = std::vector<TraceEntry>;

// Lines starting with '#' and blank lines are skipped. False with the first bad line named.
bool parse_trace(const std::string& text, Trace* trace, std::string* error);

}  // namespace sim
