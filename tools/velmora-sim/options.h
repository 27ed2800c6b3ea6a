// The simulator program's command line: role, line, records and faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/velmora-sim/lookup_target.h"
#include "tools/velmora-sim/record_source.h"
#include "tools/velmora-sim/replay.h"

namespace sim {

enum class Role { source, lookup, echo, replay };

// The reader keeps at most 255 bytes of a message: sequence byte, data, two checksum bytes, CR.
constexpr std::size_t kMaxRecordData = 251;

struct Options {
    Role role = Role::source;
    bool help = false;
    bool version = false;
    std::string device;  // empty: serve a new pseudo-terminal
    std::uint32_t baud = 115200;
    std::string link;
    std::string transcript;
    std::optional<std::size_t> batches;     // unset: serve until killed
    std::optional<std::uint32_t> delay_ms;  // 1 ms for source and lookup, 0 for echo

    std::string records_file;
    std::size_t generate_count = 10;
    std::size_t generate_size = 20;
    SourceConfig source;

    std::string out_file;
    LookupConfig lookup;

    std::string trace_file;
    Timing timing = Timing::over_threshold;
};

// False with a message naming the offending argument, or a number the protocol cannot carry.
bool parse_options(const std::vector<std::string>& args, Options* options, std::string* error);
std::string usage_text();

}  // namespace sim
