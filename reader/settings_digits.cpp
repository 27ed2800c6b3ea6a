// Field rules common to the settings file and the command line, so both treat bad input alike.
#include "reader/settings_digits.h"

#include "common/settings_text.h"

namespace ravelo {

namespace {
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Far above the maximum, so saturating here cannot change a clamped result.
constexpr long kNumberCeiling = 1000000;
}  // namespace

long parse_leading_number(const std::string& text, std::size_t offset) {
    std::size_t i = offset;
    while (i < text.size() && is_blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kNumberCeiling) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

int clamp_poll_interval(long value) {
    if (value < kMinPollInterval) return kDefaultPollInterval;
    if (value > kMaxPollInterval) return kMaxPollInterval;
    return static_cast<int>(value);
}

void take_setting_digits(const std::string& text, std::size_t start, std::size_t stride,
                         ReaderSettings& settings) {
    common::take_digit_fields(
        text, start, stride,
        {
            {&settings.port_index, '1', common::last_choice_digit(kPortCount)},
            {&settings.baud_index, '1', common::last_choice_digit(common::kBaudRateCount)},
            {&settings.file_mode, '1', common::last_choice_digit(kFileModeCount)},
            {&settings.append_cr, '0', '1'},
            {&settings.append_lf, '0', '1'},
            {&settings.show_errors, '0', '1'},
            {&settings.show_received, '0', '1'},
            {&settings.always_ask, '0', '1'},
            {&settings.online, '0', '1'},
        });
}

}  // namespace ravelo
