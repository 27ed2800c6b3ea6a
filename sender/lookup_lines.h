// How the lookup file's bytes fall into lines: CR, CR LF and a lone LF each end one line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sender/lookup_source.h"

namespace lumbra {

constexpr std::size_t kMaxPayloadBytes = 253;
constexpr std::size_t kFileBlockBytes = 128;

enum class ByteRole { payload, line_end, ignored };

// after_cr carries over from one byte (and one block) to the next: an LF right after a CR
// belongs to that CR and ends nothing.
ByteRole classify_byte(std::uint8_t byte, bool& after_cr);

// The number (from 1) of the first line longer than kMaxPayloadBytes, or 0 when every line
// fits. Reads the source from its start in blocks and leaves it positioned at its start.
int first_overlong_line(LookupSource& source);

}  // namespace lumbra
