// Windows path conventions: backslash, and the directory of the running .exe.
#include "platform/paths.h"

#include <windows.h>

#include <vector>

#include "platform/environment.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide.h"

namespace platform {

char path_separator() {
    return '\\';
}

bool is_path_separator(char c) {
    return c == '\\' || c == '/';
}

bool double_quote_is_name_character() {
    return false;
}

bool settings_files_are_utf8() {
    return false;
}

// "C:" names a drive whatever follows; "\\server\share" starts with a separator too.
bool is_absolute_path(const std::string& name) {
    if (!name.empty() && is_path_separator(name[0])) return true;
    const bool letter = name.size() >= 2 &&
                        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return letter && name[1] == ':';
}

std::string executable_directory() {
    // MAX_PATH is not a limit for module names; grow until the whole name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string(".") + path_separator();
        if (n < buffer.size()) {
            std::wstring name(buffer.data(), n);
            const std::size_t cut = name.find_last_of(L"\\/");
            return from_wide(cut == std::wstring::npos ? std::wstring(L".\\")
                                                       : name.substr(0, cut + 1));
        }
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

// Whether the settings can be saved in the folder: an existing settings file that opens for
// writing, and a file that can be created there (made and deleted at once).
bool folder_writable(const std::string& directory, const std::string& program_name) {
    const std::wstring settings = system_path(directory + program_name + ".ini");
    if (GetFileAttributesW(settings.c_str()) != INVALID_FILE_ATTRIBUTES) {
        HANDLE h = CreateFileW(settings.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
    }
    const std::wstring probe = system_path(directory + program_name + ".write-test-" +
                                           std::to_string(GetCurrentProcessId()) + ".tmp");
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

// Beside the executable where it can be written, so existing installations keep their files;
// else in the user's own folder, which is then also where files are looked for by default.
ProgramFolders program_folders(const std::string& program_name) {
    const std::string executable = executable_directory();
    const std::string folder =
        windows_settings_folder(executable, folder_writable(executable, program_name),
                                environment_variable("LOCALAPPDATA"), program_name);
    // The user's folder is also where the first output file goes, before any settings are saved.
    if (folder == executable) return {folder, folder, {}};
    make_directories(folder);
    return {folder, folder, executable};
}

// Parents first; a folder that already exists is no failure.
bool make_directories(const std::string& directory) {
    if (directory.empty()) return true;
    const std::wstring path = system_path(directory);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string parent = directory;
    while (!parent.empty() && is_path_separator(parent.back())) parent.pop_back();
    parent = directory_part(parent);
    if (!parent.empty() && parent != directory && !make_directories(parent)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace platform
