// Both programs' settings records compared whole in tests, and printed field by field on failure.
#pragma once

#include <ostream>

#include "reader/reader_settings.h"
#include "sender/sender_settings.h"

namespace ravelo {

inline void PrintTo(const ReaderSettings& s, std::ostream* out) {
    *out << "{\"" << s.directory << "\", \"" << s.file_name << "\", port " << s.port_index
         << ", baud " << s.baud_index << ", mode " << s.file_mode << ", cr " << s.append_cr
         << ", lf " << s.append_lf << ", errors " << s.show_errors << ", received "
         << s.show_received << ", ask " << s.always_ask << ", online " << s.online << ", interval "
         << s.poll_interval << '}';
}

}  // namespace ravelo

namespace lumbra {

// The product never compares settings; the tests compare them whole.
inline bool operator==(const SenderSettings& a, const SenderSettings& b) {
    return a.lookup_path == b.lookup_path && a.directory == b.directory &&
           a.file_name == b.file_name && a.port_index == b.port_index &&
           a.baud_index == b.baud_index && a.command_line_mode == b.command_line_mode;
}

inline void PrintTo(const SenderSettings& s, std::ostream* out) {
    *out << "{\"" << s.lookup_path << "\", \"" << s.directory << "\", \"" << s.file_name
         << "\", port " << s.port_index << ", baud " << s.baud_index
         << (s.command_line_mode ? ", command line}" : "}");
}

}  // namespace lumbra
