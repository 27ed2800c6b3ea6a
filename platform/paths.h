// Path conventions of the platform: separator and the executable's own directory.
#pragma once

#include <optional>
#include <string>

namespace platform {

// "\\" on Windows, "/" elsewhere.
char path_separator();
// Also accepts "/" on Windows, where both separate directories.
bool is_path_separator(char c);
// False on Windows, where no file name holds a double quote: quotes on a command line there
// only group a name with blanks. Elsewhere the shell has removed its quoting already.
bool double_quote_is_name_character();
// True on Linux, where nothing but these programs reads their settings files: they keep any
// name in UTF-8. False on Windows: code page 1250 there, as other software reads them too.
bool settings_files_are_utf8();
// The directory holding the running executable, with its trailing separator.
std::string executable_directory();

// Where a program keeps its settings file, and where its output and lookup files are looked for
// by default; both with their trailing separator. Windows: beside the executable, or in
// %LOCALAPPDATA%\<program_name>\ when that cannot be written. Linux:
// $XDG_CONFIG_HOME/velmora/ (~/.config/velmora/), and the current directory.
struct ProgramFolders {
    std::string settings;
    std::string data;
    // Windows, when the settings moved to the user's folder: the executable's folder, whose
    // settings file (an administrator's) starts the settings until the user's own exists.
    std::string first_start;
};
ProgramFolders program_folders(const std::string& program_name);

// Windows: the executable's folder when it can be written, else the user's own folder for the
// program (local_app_data\program_name\): installed under Program Files, a standard user
// cannot write beside the executable, and a 64-bit program gets no folder redirection.
std::string windows_settings_folder(const std::string& executable_directory, bool writable,
                                    const std::string& local_app_data,
                                    const std::string& program_name);

// Creates the directory and any missing parents; true when it exists afterwards.
bool make_directories(const std::string& directory);
// The path up to its last separator (with it); empty when it has none.
std::string directory_part(const std::string& path);

// A chosen file's folder and name. The folder drops its final separator, except at the root,
// where "/" would otherwise become nothing ("C:\\x" gives "C:", which still names the drive).
// No folder when the path has no separator: the name is then relative.
struct ChosenPath {
    std::optional<std::string> directory;
    std::string name;
};
ChosenPath split_chosen_path(const std::string& path);

// A name that stands on its own: "/..." on POSIX; on Windows a drive letter and colon, a leading
// backslash or slash, or a UNC path.
bool is_absolute_path(const std::string& name);

// A full Windows path ("C:\\..." or "\\\\server\\share\\...") in the "\\\\?\\" form that has no
// MAX_PATH limit; anything else (relative, already in a device form) as it stands. The path
// must already be normalised: that form takes every character literally.
std::string long_path_form(const std::string& full_path);

// directory + separator (only where needed) + name.
std::string join_path(const std::string& directory, const std::string& name);
// An absolute name as it stands, a relative one joined to the directory.
std::string resolve_path(const std::string& directory, const std::string& name);

}  // namespace platform
