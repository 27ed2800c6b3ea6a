// Opening the output file of one transfer by its mode, and the automatic date-and-time names.
#pragma once

#include <string>

#include "platform/clock.h"
#include "reader/reader.h"
#include "reader/reader_settings.h"

namespace ravelo {

// The last suffix an automatic name may carry: "Z".
inline constexpr int kLastNameSuffix = 35;

enum class OutputOpening { overwrite, append, new_file_only, automatic_name };

// What file_mode means, offline and online.
OutputOpening output_opening(const ReaderSettings& settings);

// directory, a separator only where needed, file_name.
std::string build_output_path(const ReaderSettings& settings);

// Eight characters and ".TXT" from the date and time; the last character is `suffix`:
// 0..9 as a digit, 10..35 as "A".."Z". The first candidate's suffix is the minute's units.
std::string automatic_name(const platform::LocalTime& time, int suffix);

// 1 when reader.output is ready for writing, 0 after a failure (reported when show_errors is
// on). Append reports success even when the file could not be opened: the first write fails.
int open_output_file(Reader& reader);

}  // namespace ravelo
