// Where the record source's records come from: a file of lines, or generated ones.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/velmora-sim/framing.h"

namespace sim {

using Records = std::vector<Bytes>;

// One record per line; CR LF, LF and CR all end a line, so no record carries a CR.
Records split_lines(const Bytes& content);
// False when the file cannot be read.
bool load_records(const std::string& path, Records* records);

// Deterministic printable records of exactly `size` bytes, starting with their number
// ("R00001 ..."), so a reader's output can be checked line by line.
Records generate_records(std::size_t count, std::size_t size, std::size_t first_number = 1);

// Lines written as a lookup target hands them over: each ended by CR LF.
bool write_lines(const std::string& path, const std::vector<Bytes>& lines);

}  // namespace sim
