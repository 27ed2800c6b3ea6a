// A settings file that could not be saved, told on standard error where a script sees it too.
#pragma once

#include <string>

namespace common {

void report_unsaved_settings(const std::string& path, const std::string& reason);

}  // namespace common
