// Fuzz target: the settings string another program passes on the reader's command line.
#include <cstddef>
#include <cstdint>

#include "common/port_labels.h"
#include "platform/text.h"
#include "reader/command_line.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string tail = fuzz::as_string(data, size);
    reader_test::NoPorts ports;
    simline::VirtualClock clock;
    testing_support::RecordingUi ui;
    ravelo::Reader reader(ports, clock, ui, ui);
    const ravelo::ReaderSettings before = reader.settings;
    const bool taken = ravelo::apply_command_line(reader, tail);
    const ravelo::ReaderSettings& s = reader.settings;
    const bool fits = platform::first_characters(tail, ravelo::kMaxCommandLineChars) == tail;
    fuzz::require(taken == fits, "refused exactly when the tail is too long");
    if (tail.empty() || !taken) {
        fuzz::require(s == before && !reader.command_line_mode,
                      "an empty or refused tail changes nothing");
        return 0;
    }
    fuzz::require(tail.compare(0, s.file_name.size(), s.file_name) == 0,
                  "the file name is where the tail starts");
    fuzz::require(fuzz::characters(s.file_name) <= ravelo::kMaxCommandLineChars,
                  "at most 255 characters are taken");
    fuzz::require_index(s.port_index, ravelo::kPortCount, "port in its list");
    fuzz::require_index(s.baud_index, common::kBaudRateCount, "speed in list");
    fuzz::require_index(s.file_mode, ravelo::kFileModeCount, "mode in list");
    fuzz::require(
        s.poll_interval >= ravelo::kMinPollInterval && s.poll_interval <= ravelo::kMaxPollInterval,
        "interval within its limits");
    fuzz::require(!reader.command_line_mode || !s.file_name.empty() || s.online == 1,
                  "unattended only with a file name or online");
    return 0;
}
