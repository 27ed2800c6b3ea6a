// The unsaved-settings line on standard error.
#include "common/posix/settings_report.h"

#include <unistd.h>

#include "common/posix/terminal_io.h"

namespace common {

void report_unsaved_settings(const std::string& path, const std::string& reason) {
    write_all(STDERR_FILENO, "Nastavení se nepodařilo uložit do " + path + ": " + reason + "\n");
}

}  // namespace common
