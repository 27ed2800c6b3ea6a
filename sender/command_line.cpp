// The sender's tail: the path before the first comma as typed, then digits at fixed places.
#include "sender/command_line.h"

#include "common/port_labels.h"
#include "common/quoted_name.h"
#include "common/settings_text.h"
#include "platform/text.h"

namespace lumbra {

namespace {

char character_at(const std::string& text, std::size_t position) {
    return position < text.size() ? text[position] : '\0';
}

}  // namespace

bool apply_command_line(SenderSettings& settings, const std::string& tail) {
    const std::string text = common::command_line_text(tail);
    const std::size_t comma = text.find(',');
    const std::string path = text.substr(0, comma);
    if (path.empty()) return true;
    if (platform::first_characters(path, kLookupPathLimit).size() < path.size()) return false;
    settings.command_line_mode = true;
    settings.lookup_path = path;
    settings.port_index = 0;
    settings.baud_index = 0;
    if (comma == std::string::npos) return true;
    const char port = character_at(text, comma + 1);
    const char baud = character_at(text, comma + 3);
    common::take_digit(port, '1', common::last_choice_digit(common::kSenderPortCount),
                       &settings.port_index);
    common::take_digit(baud, '1', common::last_choice_digit(common::kBaudRateCount),
                       &settings.baud_index);
    return true;
}

}  // namespace lumbra
