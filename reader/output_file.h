// Opening the output file of one transfer by its mode, and the automatic date-and-time names.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/file.h"
#include "reader/reader.h"
#include "reader/reader_settings.h"

namespace ravelo {

// The last suffix an automatic name may carry: "Z".
inline constexpr int kLastNameSuffix = 35;

enum class OutputOpening { overwrite, append, new_file_only, automatic_name };

// What file_mode means, offline and online.
OutputOpening output_opening(const ReaderSettings& settings);

// directory, a separator only where needed, file_name; an absolute file_name as it stands.
std::string build_output_path(const ReaderSettings& settings);

// Eight characters and ".TXT" from the date and time; the last character is `suffix`:
// 0..9 as a digit, 10..35 as "A".."Z". The first candidate's suffix is the minute's units.
std::string automatic_name(const platform::LocalTime& time, int suffix);

// Tries suffixes from `first` to "Z" through `create`, which says how creating that name went.
// A name that exists, is in use or is refused (another process may still hold a file of that
// name that was deleted) sends the search on to the next; any other failure ends it. Returns
// the suffix created; none when no name could be made.
std::optional<int> search_automatic_name(
    int first, const std::function<platform::FileError(int suffix)>& create);

// True when reader.output is ready for writing, false after a failure (reported when
// show_errors is on). Append reports success even when the file could not be opened: the
// first write fails.
bool open_output_file(Reader& reader);

}  // namespace ravelo
