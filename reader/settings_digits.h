// The one-character fields shared by the settings file and the command-line string.
#pragma once

#include <string>

#include "reader/reader_settings.h"

namespace ravelo {

// The signed decimal at text[offset] (white space skipped, optional sign); 0 when absent.
long parse_leading_number(const std::string& text, std::size_t offset);

// Below the minimum (or absent) gives the default, above the maximum gives the maximum.
int clamp_poll_interval(long value);

// Reads the port, speed and mode digits and the six flags, `stride` characters apart from
// `start`; a field whose character is missing or out of range keeps its value.
void take_setting_digits(const std::string& text, std::size_t start, std::size_t stride,
                         ReaderSettings& settings);

}  // namespace ravelo
