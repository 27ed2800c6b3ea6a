// Applies the command-line settings string; positions count characters, as the string is 8-bit.
#include "reader/command_line.h"

#include "common/quoted_name.h"
#include "platform/text.h"
#include "reader/reader_messages.h"
#include "reader/settings_digits.h"

namespace ravelo {

namespace {
constexpr std::size_t kDigitStride = 2;  // a digit and its separator
constexpr std::size_t kIntervalPosition = 18;

void reset_for_command_line(ReaderSettings& s) {
    s.port_index = 0;
    s.baud_index = 0;
    s.file_mode = 0;
    s.append_cr = s.append_lf = s.show_errors = s.show_received = s.always_ask = 1;
    s.online = 0;
}

// Online automatic names need no file name; every other setup does.
bool can_run_unattended(const ReaderSettings& s) {
    return !s.file_name.empty() || (s.online == 1 && s.file_mode == 0);
}
}  // namespace

bool apply_command_line(Reader& reader, const std::string& tail) {
    if (tail.empty()) return true;
    const std::string text = common::command_line_text(tail);
    if (platform::first_characters(text, kMaxCommandLineChars).size() < text.size()) {
        // Whatever the string's error switch says: it was not read, and a caller still being
        // set up must learn why nothing happened.
        reader.boxes.show_message(kErrorCaption, kCommandLineTooLong);
        return false;
    }
    ReaderSettings& s = reader.settings;
    reset_for_command_line(s);
    const std::size_t comma = text.find(',');
    s.file_name = text.substr(0, comma);
    // One byte per character, so the fixed positions hold whatever separators were used.
    const std::string digits = comma == std::string::npos
                                   ? std::string()
                                   : platform::utf8_to_cp1250(text.substr(comma + 1));
    take_setting_digits(digits, 0, kDigitStride, s);
    const long interval =
        kIntervalPosition < digits.size() ? parse_leading_number(digits, kIntervalPosition) : 0;
    s.poll_interval = clamp_poll_interval(interval);
    reader.command_line_mode = can_run_unattended(s);
    return true;
}

}  // namespace ravelo
