// Comparison of settings records, so a saved and reloaded record can be checked whole.
#include "reader/reader_settings.h"

#include <tuple>

namespace ravelo {

namespace {
auto fields(const ReaderSettings& s) {
    return std::tie(s.directory, s.file_name, s.port_index, s.baud_index, s.file_mode, s.append_cr,
                    s.append_lf, s.show_errors, s.show_received, s.always_ask, s.online,
                    s.poll_interval);
}
}  // namespace

bool ReaderSettings::operator==(const ReaderSettings& other) const {
    return fields(*this) == fields(other);
}

}  // namespace ravelo
