// The device-path check behind refusing reserved names as files.
#include "platform/device_path.h"

namespace platform {

namespace {

// Windows takes both; this check runs on every host so that its tests do.
bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// "\\.\" or "\\?\", with either separator: the name is already in a device or raw form.
bool has_device_prefix(const std::string& path) {
    return path.size() >= 4 && is_separator(path[0]) && is_separator(path[1]) &&
           (path[2] == '.' || path[2] == '?') && is_separator(path[3]);
}

}  // namespace

bool is_unasked_device_path(const std::string& given, const std::string& full_path) {
    const bool device = full_path.size() > 4 && full_path.compare(0, 4, "\\\\.\\") == 0;
    return device && !has_device_prefix(given);
}

}  // namespace platform
