// Reads and writes "Ravelo.ini": two text lines, nine one-character fields, then the interval.
#include "reader/settings_file.h"

#include "platform/file.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "reader/settings_digits.h"

namespace ravelo {

namespace {
constexpr std::size_t kMaxTextField = 255;  // bytes, as the file stores them
constexpr std::size_t kFieldStride = 3;     // a digit, CR, LF
constexpr std::size_t kIntervalOffset = 27;
const char* const kLineEnd = "\r\n";

// Text fields are code page 1250 on disk; cut at the byte limit before converting.
std::string text_field(const std::string& bytes, std::size_t from, std::size_t to) {
    std::size_t length = to - from;
    if (length > kMaxTextField) length = kMaxTextField;
    return platform::cp1250_to_utf8(std::string_view(bytes).substr(from, length));
}

// Position just after the CR LF that ends the line starting at `from`, or npos.
std::size_t line_end(const std::string& bytes, std::size_t from, std::size_t* cr) {
    *cr = bytes.find('\r', from);
    if (*cr == std::string::npos || *cr + 1 >= bytes.size() || bytes[*cr + 1] != '\n') {
        return std::string::npos;
    }
    return *cr + 2;
}

std::string digit_line(int value, char base) {
    return std::string(1, static_cast<char>(base + value)) + kLineEnd;
}
}  // namespace

std::string format_settings_file(const ReaderSettings& s) {
    std::string out = platform::utf8_to_cp1250(s.directory) + kLineEnd;
    out += platform::utf8_to_cp1250(s.file_name) + kLineEnd;
    out += digit_line(s.port_index, '1') + digit_line(s.baud_index, '1') +
           digit_line(s.file_mode, '1');
    for (int flag :
         {s.append_cr, s.append_lf, s.show_errors, s.show_received, s.always_ask, s.online}) {
        out += digit_line(flag, '0');
    }
    return out + std::to_string(s.poll_interval);
}

void parse_settings_file(const std::string& bytes, ReaderSettings& settings) {
    std::size_t cr = 0;
    const std::size_t line2 = line_end(bytes, 0, &cr);
    if (line2 == std::string::npos) {
        settings.directory = text_field(bytes, 0, bytes.size());
        return;
    }
    settings.directory = text_field(bytes, 0, cr);
    const std::size_t fields = line_end(bytes, line2, &cr);
    if (fields == std::string::npos) {
        settings.file_name = text_field(bytes, line2, bytes.size());
        settings.poll_interval = kDefaultPollInterval;
        return;
    }
    settings.file_name = text_field(bytes, line2, cr);
    take_setting_digits(bytes, fields, kFieldStride, settings);
    const long interval = fields + kIntervalOffset < bytes.size()
                              ? parse_leading_number(bytes, fields + kIntervalOffset)
                              : 0;
    settings.poll_interval = clamp_poll_interval(interval);
}

void load_settings(Reader& reader, const std::string& executable_directory) {
    reader.settings.directory = executable_directory;
    reader.settings_path = platform::join_path(executable_directory, kSettingsFileName);
    std::string bytes;
    if (!platform::read_whole_file(reader.settings_path, &bytes)) return;
    parse_settings_file(bytes, reader.settings);
}

void save_settings(const Reader& reader) {
    platform::FileError error = platform::FileError::none;
    platform::File file =
        platform::File::open(reader.settings_path, platform::Creation::create_always, &error);
    if (!file.is_open()) return;
    file.write(format_settings_file(reader.settings));
}

}  // namespace ravelo
