// Path conventions on POSIX: "/" separates directories; the executable is found via /proc;
// settings follow the XDG base directories.
#include "platform/paths.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

std::string home_directory() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// XDG: a relative $XDG_CONFIG_HOME is invalid and ignored.
std::string config_home() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    return join_path(home_directory(), ".config");
}

std::string current_directory() {
    std::vector<char> buffer(PATH_MAX + 1);
    if (!::getcwd(buffer.data(), buffer.size())) return "./";
    return join_path(buffer.data(), "");
}

}  // namespace

char path_separator() {
    return '/';
}

bool is_path_separator(char c) {
    return c == '/';
}

bool double_quote_is_name_character() {
    return true;
}

bool settings_files_are_utf8() {
    return true;
}

bool is_absolute_path(const std::string& name) {
    return !name.empty() && name[0] == '/';
}

std::string executable_directory() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "./";
    std::string path(buffer.data(), static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

// Both programs share one settings folder on Linux.
ProgramFolders program_folders(const std::string&) {
    return {join_path(join_path(config_home(), "velmora"), ""), current_directory(), {}};
}

// Parents as the user's umask allows; the folders are private, as XDG asks.
bool make_directories(const std::string& directory) {
    if (directory.empty()) return true;
    struct stat info {};
    if (::stat(directory.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    std::string parent = directory;
    while (!parent.empty() && parent.back() == '/') parent.pop_back();
    parent = directory_part(parent);
    if (!parent.empty() && parent != directory && !make_directories(parent)) return false;
    return ::mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace platform
