// Path conventions on POSIX: "/" separates directories; the executable is found via /proc.
#include "platform/paths.h"

#include <limits.h>
#include <unistd.h>

#include <vector>

namespace platform {

char path_separator() {
    return '/';
}

bool is_path_separator(char c) {
    return c == '/';
}

std::string executable_directory() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "./";
    std::string path(buffer.data(), static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace platform
