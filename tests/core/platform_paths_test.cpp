// Paths: output, lookup and settings names, the dialogs' start and the ports' devices.
#include <gtest/gtest.h>

#include "common/dialog_start.h"
#include "platform/device_path.h"
#include "platform/paths.h"
#include "platform/port_device.h"

namespace {

const bool kWindows = platform::path_separator() == '\\';

// Output and lookup names: which ones stand on their own and which are joined to the directory.
TEST(PlatformPaths, AbsoluteNamesStandAsTheyAreRelativeOnesJoinTheDirectory) {
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
        EXPECT_EQ(platform::resolve_path(c.directory, c.file),
                  kWindows ? c.on_windows : c.on_posix);
    }
}

// The folder saved for a chosen output or lookup file: the root must stay a folder.
TEST(PlatformPaths, AChosenFileInTheRootKeepsTheRootAsItsFolder) {
    const struct {
        const char* path;
        const char* folder;  // nullptr: no folder
        const char* name;
    } cases[] = {
        {"/LOOKUP.TXT", "/", "LOOKUP.TXT"},
        {"/data/sub/LOOKUP.TXT", "/data/sub", "LOOKUP.TXT"},
        {"LOOKUP.TXT", nullptr, "LOOKUP.TXT"},
        {"C:\\LOOKUP.TXT", kWindows ? "C:" : nullptr, kWindows ? "LOOKUP.TXT" : "C:\\LOOKUP.TXT"},
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
                  kWindows ? c.on_windows : c.on_posix);
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

// The path the save and open dialogs are handed, so they open where the settings say.
TEST(DialogStart, TheStoredDirectoryTravelsInTheProposedName) {
    const struct {
        const char* directory;
        const char* file;
        const char* on_posix;
        const char* on_windows;
    } cases[] = {
        {"C:\\Data", "prijem.txt", "C:\\Data/prijem.txt", "C:\\Data\\prijem.txt"},
        {"/data/", "prijem.txt", "/data/prijem.txt", "/data/prijem.txt"},
        {"C:", "prijem.txt", "C:/prijem.txt", "C:\\prijem.txt"},  // a drive's root
        {"", "prijem.txt", "prijem.txt", "prijem.txt"},
        {"C:\\Data", "", "", ""},  // no name: the initial directory alone
        {"D:\\out", "\\\\server\\share\\x.txt", "D:\\out/\\\\server\\share\\x.txt",
         "\\\\server\\share\\x.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.directory) + " + " + c.file);
        EXPECT_EQ(common::dialog_start_path(c.directory, c.file),
                  kWindows ? c.on_windows : c.on_posix);
    }
}

// What Windows opens for a port, with and without VELMORA_COMn pointing it elsewhere.
TEST(PlatformPortDevice, AVariablePointsAPortAtAnotherPortOrDevice) {
    const struct {
        const char* port;
        const char* redirect;
        const char* device;  // nullptr: refused
    } cases[] = {
        {"COM1", "", "\\\\.\\COM1"},
        {"COM1", "COM12", "\\\\.\\COM12"},
        {"COM3", "com256", "\\\\.\\COM256"},
        {"COM1", "\\\\.\\COM12", "\\\\.\\COM12"},
        {"COM1", "\\\\.\\Silicon_Labs_CP210x", "\\\\.\\Silicon_Labs_CP210x"},
        {"COM1", "/dev/ttyUSB0", nullptr},  // a Linux setting in a shared script
        {"COM1", "12", nullptr},
        {"COM1", "COM012", nullptr},
        {"COM1", "COM12 ", nullptr},
        {"COM1", "\\\\.\\", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + c.redirect);
        std::string device;
        EXPECT_EQ(
            platform::windows_port_device(platform::com_port_number(c.port), c.redirect, &device),
            c.device != nullptr);
        if (c.device) {
            EXPECT_EQ(device, c.device);
        }
    }
    EXPECT_EQ(platform::port_variable(12), "VELMORA_COM12");
    EXPECT_EQ(platform::port_variable(platform::com_port_number("PRN")), "");
}

}  // namespace
