// The platform layer's rules: paths (output, lookup and settings names, the dialogs' start, the
// ports' devices), text conversion, and the Windows line's read time-outs.
#include <gtest/gtest.h>

#include "common/dialog_start.h"
#include "common/file_charset.h"
#include "platform/device_path.h"
#include "platform/paths.h"
#include "platform/port_device.h"
#include "platform/text.h"
#include "platform/win32/read_timeouts.h"

namespace {

const bool kWindows = platform::path_separator() == '\\';

// A directory and a file name joined into one path, which depends on the platform.
struct JoinCase {
    const char* name;
    const char* directory;
    const char* file;
    const char* on_posix;
    const char* on_windows;
};

void expect_joins(std::string (*join)(const std::string&, const std::string&),
                  const std::vector<JoinCase>& cases) {
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(join(c.directory, c.file), kWindows ? c.on_windows : c.on_posix);
    }
}

// Output and lookup names: which ones stand on their own and which are joined to the directory.
TEST(PlatformPaths, AbsoluteNamesStandAsTheyAreRelativeOnesJoinTheDirectory) {
    expect_joins(platform::resolve_path,
                 {{"relative", "D:\\out\\", "DATA.TXT", "D:\\out\\/DATA.TXT", "D:\\out\\DATA.TXT"},
                  {"relative with folder", "/srv", "sub/DATA.TXT", "/srv/sub/DATA.TXT",
                   "/srv\\sub/DATA.TXT"},
                  {"slash", "/srv/", "/data/abs.txt", "/data/abs.txt", "/data/abs.txt"},
                  {"drive", "D:\\out", "C:\\Data\\prijem.txt", "D:\\out/C:\\Data\\prijem.txt",
                   "C:\\Data\\prijem.txt"},
                  {"drive, lower case, no separator", "D:\\out", "c:prijem.txt",
                   "D:\\out/c:prijem.txt", "c:prijem.txt"},
                  {"backslash", "D:\\out", "\\Data\\prijem.txt", "D:\\out/\\Data\\prijem.txt",
                   "\\Data\\prijem.txt"},
                  {"UNC", "D:\\out", "\\\\server\\share\\x.txt", "D:\\out/\\\\server\\share\\x.txt",
                   "\\\\server\\share\\x.txt"},
                  {"colon later is a name", "/srv", "1:2.txt", "/srv/1:2.txt", "/srv\\1:2.txt"},
                  {"empty directory", "", "DATA.TXT", "DATA.TXT", "DATA.TXT"}});
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
    expect_joins(
        common::dialog_start_path,
        {{"folder", "C:\\Data", "prijem.txt", "C:\\Data/prijem.txt", "C:\\Data\\prijem.txt"},
         {"trailing separator", "/data/", "prijem.txt", "/data/prijem.txt", "/data/prijem.txt"},
         {"a drive's root", "C:", "prijem.txt", "C:/prijem.txt", "C:\\prijem.txt"},
         {"no folder", "", "prijem.txt", "prijem.txt", "prijem.txt"},
         {"no name: the initial directory alone", "C:\\Data", "", "", ""},
         {"UNC", "D:\\out", "\\\\server\\share\\x.txt", "D:\\out/\\\\server\\share\\x.txt",
          "\\\\server\\share\\x.txt"}});
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

// Text conversion of malformed UTF-8, the length caps that count its bytes as characters, and
// the data files' conversions between the terminal's code page and UTF-8.
TEST(PlatformText, MalformedUtf8IsReplacedByteByByteNeverReadAsAnotherCharacter) {
    const struct {
        const char* name;
        std::string utf8;
        std::u16string utf16;
        std::string cp1250;
    } cases[] = {
        {"well-formed mix", "a\xC4\x8D\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u010D\u20AC\U0001F600",
         "a\xE8\x80?"},
        {"edges of the ranges", "\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF",
         u"\u0080\uD7FF\uE000\U0010FFFF", "????"},
        {"overlong NUL", std::string("\xC0\x80", 2), u"\uFFFD\uFFFD", "??"},
        {"overlong slash", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},
        {"no such lead", "\xF5\x80\xFF", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"cut short", "\xE2\x82", u"\uFFFD\uFFFD", "??"},
        {"cut by ASCII", "\xE2\x82x", u"\uFFFD\uFFFDx", "??x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::utf8_to_utf16(c.utf8), c.utf16);
        EXPECT_EQ(platform::utf8_to_cp1250(c.utf8), c.cp1250);
    }
}

// Received records go to UTF-8 keeping every byte; lookup lines come back only when the code
// page holds every character of them.
TEST(PlatformText, DataFilesBetweenCodePage1250AndUtf8) {
    constexpr std::size_t both_ways = std::string::npos;
    const struct {
        const char* name;
        std::string cp1250;  // empty: the UTF-8 side has no code page 1250 form
        std::string utf8;
        std::size_t refused_at;
    } cases[] = {
        {"ASCII and controls", std::string("a\t\x01\x7F\0", 5), std::string("a\t\x01\x7F\0", 5),
         both_ways},
        {"Czech", "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2", "Příliš žluťoučký kůň",
         both_ways},
        {"euro, quotes, no-break space, dot above", "\x80\x84\x93\xA0\xFF",
         "€„“\u00A0"
         "˙",
         both_ways},
        {"the five undefined bytes stay as they are",
         "\x81\x83\x88\x90\x98"
         "A",
         "\x81\x83\x88\x90\x98"
         "A",
         0},
        {"a character code page 1250 lacks", "", "Año", 1},
        {"outside the BMP", "", "ok \U0001F600", 3},
        {"U+FFFD itself", "", "x\uFFFD", 1},
        {"malformed", "", "ab\xC3(", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.cp1250.empty()) {
            EXPECT_EQ(common::record_for_file(common::FileCharset::utf8, c.cp1250), c.utf8);
            EXPECT_EQ(common::record_for_file(common::FileCharset::cp1250, c.cp1250), c.cp1250);
        }
        std::size_t failed_at = both_ways;
        const std::optional<std::string> back =
            platform::utf8_to_cp1250_exactly(c.utf8, &failed_at);
        EXPECT_EQ(failed_at, c.refused_at);
        const std::optional<std::string> expected_back =
            c.refused_at == both_ways ? std::optional<std::string>(c.cp1250) : std::nullopt;
        EXPECT_EQ(back, expected_back);
    }
}

TEST(PlatformText, CapsCountMalformedBytesAsCharactersAndNeverSplitACharacter) {
    const std::string continuation(1000, '\x80');
    EXPECT_EQ(platform::first_characters(continuation, 255).size(), 255u);
    EXPECT_EQ(platform::first_characters("\xC0\x80\xC4\x8D"
                                         "abc",
                                         3),
              "\xC0\x80\xC4\x8D");
    EXPECT_EQ(platform::first_characters("\xC4\x8D\xC4\x8D", 5), "\xC4\x8D\xC4\x8D");

    EXPECT_EQ(platform::first_bytes(continuation, 299).size(), 299u);
    EXPECT_EQ(platform::first_bytes("ab\xE2\x82\xAC", 4), "ab");
    EXPECT_EQ(platform::first_bytes("ab\xE2\x82\xAC", 5), "ab\xE2\x82\xAC");
    EXPECT_EQ(platform::first_bytes("ab\xE0\x80\xAF", 4), "ab\xE0\x80");
}

// The read time-outs the Windows line sets for a poll and for a wait with a limit.
TEST(PlatformReadTimeouts, WaitUsesThePlainTotalInPowerOfTwoSlicesAndAZeroLimitPolls) {
    const platform::ReadTimeouts poll{0xFFFFFFFFu, 0, 0};
    const struct {
        std::uint32_t limit_ms;
        platform::ReadTimeouts expected;
    } cases[] = {
        {0, poll},  // (0, 0, 0) would wait for ever
        {1, {0, 0, 1}},
        {3, {0, 0, 2}},
        {256, {0, 0, 256}},
        {300, {0, 0, 256}},  // never longer than the limit
        {3000, {0, 0, 2048}},
        {200000, {0, 0, 65536}},  // 100-ns units of a longer one overflow 32 bits in a driver
        {0xFFFFFFFEu, {0, 0, 65536}},
    };
    EXPECT_EQ(platform::polling_read_timeouts(), poll);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit_ms);
        EXPECT_EQ(platform::waiting_read_timeouts(c.limit_ms), c.expected);
    }
}

}  // namespace
