// Fuzz target: "Ravelo.ini" holding any bytes at all.
#include <cstddef>
#include <cstdint>

#include "common/port_labels.h"
#include "reader/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ravelo::ReaderSettings settings;
    ravelo::parse_settings_file(fuzz::as_string(data, size), settings);
    const ravelo::ReaderSettings& s = settings;
    fuzz::require_index(s.port_index, ravelo::kPortCount, "port in its list");
    fuzz::require_index(s.baud_index, common::kBaudRateCount, "speed in its list");
    fuzz::require_index(s.file_mode, ravelo::kFileModeCount, "file mode in its list");
    for (int flag :
         {s.append_cr, s.append_lf, s.show_errors, s.show_received, s.always_ask, s.online}) {
        fuzz::require_index(flag, 2, "switches are 0 or 1");
    }
    fuzz::require(
        s.poll_interval >= ravelo::kMinPollInterval && s.poll_interval <= ravelo::kMaxPollInterval,
        "interval within its limits");
    if (fuzz::writes_back_unchanged(settings.directory) &&
        fuzz::writes_back_unchanged(settings.file_name)) {
        ravelo::ReaderSettings again;
        ravelo::parse_settings_file(ravelo::format_settings_file(settings), again);
        fuzz::require(again == settings, "what is written back reads in the same");
    }
    return 0;
}
