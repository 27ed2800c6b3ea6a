// Fuzz target: the sender's command-line tail, a lookup path and optional port and speed digits.
#include <cstddef>
#include <cstdint>

#include "common/port_labels.h"
#include "platform/text.h"
#include "sender/command_line.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string tail = fuzz::as_string(data, size);
    lumbra::SenderSettings settings;
    const bool taken = lumbra::apply_command_line(settings, tail);
    const std::string path = tail.substr(0, tail.find(','));
    const bool fits = platform::first_characters(path, lumbra::kLookupPathLimit) == path;
    fuzz::require(taken == (path.empty() || fits), "refused exactly when the path is too long");
    fuzz::require(settings.command_line_mode == (!path.empty() && fits),
                  "unattended exactly when a path that fits leads the tail");
    if (!settings.command_line_mode) return 0;
    fuzz::require(settings.lookup_path == path, "the path is the tail's start, never cut");
    fuzz::require_index(settings.port_index, common::kSenderPortCount, "port in its list");
    fuzz::require_index(settings.baud_index, common::kBaudRateCount, "speed in its list");
    return 0;
}
