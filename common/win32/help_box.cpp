// "/?" answered with an information box that belongs to no window (there is none yet).
#include "common/win32/help_box.h"

#include <windows.h>

#include "common/program_help.h"
#include "platform/win32/wide.h"

namespace common {

bool show_help_if_asked(const std::string& tail, const std::string& caption,
                        const std::string& usage) {
    if (help_request(tail) != HelpRequest::usage) return false;
    MessageBoxW(nullptr, platform::to_wide(usage).c_str(), platform::to_wide(caption).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    return true;
}

}  // namespace common
