// The path is everything before the first comma, verbatim; the digits stand at fixed places.
#include "sender/command_line.h"

#include "common/port_labels.h"
#include "common/settings_text.h"
#include "platform/text.h"

namespace lumbra {

namespace {

char character_at(const std::string& text, std::size_t position) {
    return position < text.size() ? text[position] : '\0';
}

}  // namespace

void apply_command_line(SenderSettings& settings, const std::string& tail) {
    const std::size_t comma = tail.find(',');
    const std::string path = tail.substr(0, comma);
    if (path.empty()) return;
    settings.command_line_mode = true;
    settings.lookup_path = std::string(platform::first_bytes(path, kLookupPathLimit));
    settings.port_index = 0;
    settings.baud_index = 0;
    if (comma == std::string::npos) return;
    const char port = character_at(tail, comma + 1);
    const char baud = character_at(tail, comma + 3);
    common::take_digit(port, '1', static_cast<char>('0' + common::kSenderPortCount),
                       &settings.port_index);
    common::take_digit(baud, '1', static_cast<char>('0' + common::kBaudRateCount),
                       &settings.baud_index);
}

}  // namespace lumbra
