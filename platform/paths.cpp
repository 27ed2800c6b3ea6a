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

ChosenPath split_chosen_path(const std::string& path) {
    std::size_t cut = path.size();
    while (cut > 0 && !is_path_separator(path[cut - 1])) --cut;
    if (cut == 0) return {std::nullopt, path};
    return {path.substr(0, cut == 1 ? 1 : cut - 1), path.substr(cut)};
}

std::string long_path_form(const std::string& p) {
    const bool drive = p.size() >= 3 && p[1] == ':' && p[2] == '\\' &&
                       ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
    if (drive) return "\\\\?\\" + p;
    const bool unc = p.size() > 2 && p[0] == '\\' && p[1] == '\\' && p[2] != '?' && p[2] != '.';
    if (unc) return "\\\\?\\UNC\\" + p.substr(2);
    return p;
}

std::string windows_settings_folder(const std::string& executable_directory, bool writable,
                                    const std::string& local_app_data,
                                    const std::string& program_name) {
    if (writable || local_app_data.empty()) return executable_directory;
    return join_path(join_path(local_app_data, program_name), "");
}

std::string resolve_path(const std::string& directory, const std::string& name) {
    return is_absolute_path(name) ? name : join_path(directory, name);
}

}  // namespace platform
