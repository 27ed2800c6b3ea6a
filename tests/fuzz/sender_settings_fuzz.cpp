// Fuzz target: "Lumbra.ini" holding any bytes at all.
#include <cstddef>
#include <cstdint>

#include "common/port_labels.h"
#include "sender/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumbra::SenderSettings settings;
    lumbra::parse_settings_file(fuzz::as_string(data, size), settings);
    fuzz::require_index(settings.port_index, common::kSenderPortCount, "port in its list");
    fuzz::require_index(settings.baud_index, common::kBaudRateCount, "speed in its list");
    if (fuzz::writes_back_unchanged(settings.directory) &&
        fuzz::writes_back_unchanged(settings.file_name)) {
        lumbra::SenderSettings again;
        lumbra::parse_settings_file(lumbra::format_settings_file(settings), again);
        fuzz::require(
            again.directory == settings.directory && again.file_name == settings.file_name &&
                again.port_index == settings.port_index && again.baud_index == settings.baud_index,
            "what is written back reads in the same");
    }
    return 0;
}
