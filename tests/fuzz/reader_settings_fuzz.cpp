// Fuzz target: "Ravelo.ini" holding any bytes at all.
#include <cstddef>
#include <cstdint>

#include "common/port_labels.h"
#include "reader/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool between(int value, int low, int high) {
    return value >= low && value <= high;
}

void require_in_range(const ravelo::ReaderSettings& s) {
    fuzz::require(between(s.port_index, 0, ravelo::kPortCount - 1), "port in its list");
    fuzz::require(between(s.baud_index, 0, common::kBaudRateCount - 1), "speed in its list");
    fuzz::require(between(s.file_mode, 0, ravelo::kFileModeCount - 1), "file mode in its list");
    for (int flag :
         {s.append_cr, s.append_lf, s.show_errors, s.show_received, s.always_ask, s.online}) {
        fuzz::require(between(flag, 0, 1), "switches are 0 or 1");
    }
    fuzz::require(between(s.poll_interval, ravelo::kMinPollInterval, ravelo::kMaxPollInterval),
                  "interval within its limits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ravelo::ReaderSettings settings;
    ravelo::parse_settings_file(fuzz::as_string(data, size), settings);
    require_in_range(settings);
    if (fuzz::writes_back_unchanged(settings.directory) &&
        fuzz::writes_back_unchanged(settings.file_name)) {
        ravelo::ReaderSettings again;
        ravelo::parse_settings_file(ravelo::format_settings_file(settings), again);
        fuzz::require(again == settings, "what is written back reads in the same");
    }
    return 0;
}
