// Path joining shared by every platform; the separator itself is the platform's.
#include "platform/paths.h"

namespace platform {

std::string join_path(const std::string& directory, const std::string& name) {
    if (directory.empty() || is_path_separator(directory.back())) return directory + name;
    return directory + path_separator() + name;
}

std::string directory_part(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (is_path_separator(path[i - 1])) return path.substr(0, i);
    }
    return {};
}

std::string resolve_path(const std::string& directory, const std::string& name) {
    return is_absolute_path(name) ? name : join_path(directory, name);
}

}  // namespace platform
