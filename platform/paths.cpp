// Path joining shared by every platform; the separator itself is the platform's.
#include "platform/paths.h"

namespace platform {

std::string join_path(const std::string& directory, const std::string& name) {
    if (directory.empty() || is_path_separator(directory.back())) return directory + name;
    return directory + path_separator() + name;
}

}  // namespace platform
