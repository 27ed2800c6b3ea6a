// Output and lookup names: which ones stand on their own and which are joined to the directory.
#include <gtest/gtest.h>

#include "platform/device_path.h"
#include "platform/paths.h"

namespace {

TEST(PlatformPaths, AbsoluteNamesStandAsTheyAreRelativeOnesJoinTheDirectory) {
    const bool windows = platform::path_separator() == '\\';
    const struct {
        const char* name;
        const char* directory;
        const char* file;
        const char* on_posix;
        const char* on_windows;
    } cases[] = {
        {"relative", "D:\\out\\", "DATA.TXT", "D:\\out\\/DATA.TXT", "D:\\out\\DATA.TXT"},
        {"relative with folder", "/srv", "sub/DATA.TXT", "/srv/sub/DATA.TXT", "/srv\\sub/DATA.TXT"},
        {"slash", "/srv/", "/data/abs.txt", "/data/abs.txt", "/data/abs.txt"},
        {"drive", "D:\\out", "C:\\Data\\prijem.txt", "D:\\out/C:\\Data\\prijem.txt",
         "C:\\Data\\prijem.txt"},
        {"drive, lower case, no separator", "D:\\out", "c:prijem.txt", "D:\\out/c:prijem.txt",
         "c:prijem.txt"},
        {"backslash", "D:\\out", "\\Data\\prijem.txt", "D:\\out/\\Data\\prijem.txt",
         "\\Data\\prijem.txt"},
        {"UNC", "D:\\out", "\\\\server\\share\\x.txt", "D:\\out/\\\\server\\share\\x.txt",
         "\\\\server\\share\\x.txt"},
        {"colon later is a name", "/srv", "1:2.txt", "/srv/1:2.txt", "/srv\\1:2.txt"},
        {"empty directory", "", "DATA.TXT", "DATA.TXT", "DATA.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::resolve_path(c.directory, c.file), windows ? c.on_windows : c.on_posix);
    }
}

}  // namespace

// The folder saved for a chosen output or lookup file: the root must stay a folder.
TEST(PlatformPaths, AChosenFileInTheRootKeepsTheRootAsItsFolder) {
    const bool windows = platform::path_separator() == '\\';
    const struct {
        const char* path;
        const char* folder;  // nullptr: no folder
        const char* name;
    } cases[] = {
        {"/LOOKUP.TXT", "/", "LOOKUP.TXT"},
        {"/data/sub/LOOKUP.TXT", "/data/sub", "LOOKUP.TXT"},
        {"LOOKUP.TXT", nullptr, "LOOKUP.TXT"},
        {"C:\\LOOKUP.TXT", windows ? "C:" : nullptr, windows ? "LOOKUP.TXT" : "C:\\LOOKUP.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const platform::ChosenPath parts = platform::split_chosen_path(c.path);
        EXPECT_EQ(parts.directory, c.folder ? std::optional<std::string>(c.folder) : std::nullopt);
        EXPECT_EQ(parts.name, c.name);
    }
}

TEST(PlatformPaths, FullWindowsPathsTakeTheFormWithoutALengthLimit) {
    const std::string long_name(255, 'n');
    const struct {
        const char* name;
        std::string path;
        std::string expected;
    } cases[] = {
        {"drive", "C:\\Data\\" + long_name, "\\\\?\\C:\\Data\\" + long_name},
        {"drive, lower case", "z:\\tmp\\x.txt", "\\\\?\\z:\\tmp\\x.txt"},
        {"UNC", "\\\\server\\share\\x.txt", "\\\\?\\UNC\\server\\share\\x.txt"},
        {"already long", "\\\\?\\C:\\x.txt", "\\\\?\\C:\\x.txt"},
        {"device", "\\\\.\\COM1", "\\\\.\\COM1"},
        {"relative", "x.txt", "x.txt"},
        {"drive-relative", "C:x.txt", "C:x.txt"},
        {"POSIX", "/tmp/x.txt", "/tmp/x.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::long_path_form(c.path), c.expected);
    }
}

TEST(PlatformPaths, SettingsStayBesideAWritableExecutableElseGoToTheUsersFolder) {
    const bool windows = platform::path_separator() == '\\';
    const char* exe = "C:\\Program Files\\Velmora\\";
    const struct {
        const char* name;
        bool writable;
        const char* local_app_data;
        const char* on_posix;
        const char* on_windows;
    } cases[] = {
        {"writable", true, "C:\\Users\\eva\\AppData\\Local", exe, exe},
        {"read-only", false, "C:\\Users\\eva\\AppData\\Local",
         "C:\\Users\\eva\\AppData\\Local/Ravelo/", "C:\\Users\\eva\\AppData\\Local\\Ravelo\\"},
        {"read-only, trailing separator", false, "C:\\Users\\eva\\AppData\\Local\\",
         "C:\\Users\\eva\\AppData\\Local\\/Ravelo/", "C:\\Users\\eva\\AppData\\Local\\Ravelo\\"},
        {"read-only, no LOCALAPPDATA", false, "", exe, exe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::windows_settings_folder(exe, c.writable, c.local_app_data, "Ravelo"),
                  windows ? c.on_windows : c.on_posix);
    }
}

// The system's full form of a name against the name given: only a device path that the name did
// not ask for is refused (Windows makes "C:\data\NUL.TXT" the null device).
TEST(PlatformPaths, ReservedNamesAreTheDevicePathsNobodyAskedFor) {
    const struct {
        const char* given;
        const char* full;
        bool refused;
    } cases[] = {
        {"C:\\data\\NUL.TXT", "\\\\.\\NUL", true},
        {"com1.txt", "\\\\.\\COM1", true},
        {"C:\\data\\DATA.TXT", "C:\\data\\DATA.TXT", false},
        {"\\\\.\\COM1", "\\\\.\\COM1", false},
        {"//./COM1", "\\\\.\\COM1", false},
        {"\\\\?\\C:\\data\\NUL.TXT", "\\\\?\\C:\\data\\NUL.TXT", false},
        {"\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(platform::is_unasked_device_path(c.given, c.full), c.refused);
    }
}
