// Files through the wide API: creation modes, sharing, device names, Czech names, the executable's
// folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/file.h"
#include "platform/paths.h"
#include "platform/win32/wide.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/win32_test_support.h"

namespace {

using platform::Creation;
using platform::File;
using platform::FileError;

class Win32File : public ::testing::Test {
  protected:
    const testing_support::TempDir dir;
};

std::string content_of(const std::string& path) {
    std::string content;
    EXPECT_TRUE(platform::read_whole_file(path, &content)) << path;
    return content;
}

void write_file(const std::string& path, const std::string& content) {
    File f = File::open(path, Creation::create_always, nullptr);
    ASSERT_TRUE(f.is_open());
    ASSERT_EQ(f.write(content), content.size());
}

struct ModeCase {
    const char* name;
    Creation creation;
    bool file_there_before;
    FileError error;    // from open
    const char* after;  // content after writing "new" at the start; nullptr: no file
};

TEST_F(Win32File, CreationModesOnExistingAndMissingFiles) {
    const ModeCase cases[] = {
        {"create_always, existing", Creation::create_always, true, FileError::none, "new"},
        {"create_always, missing", Creation::create_always, false, FileError::none, "new"},
        {"create_new, existing", Creation::create_new, true, FileError::exists, "old content"},
        {"create_new, missing", Creation::create_new, false, FileError::none, "new"},
        {"open_existing, existing", Creation::open_existing, true, FileError::none, "new content"},
        {"open_existing, missing", Creation::open_existing, false, FileError::not_found, nullptr},
        {"open_always, existing", Creation::open_always, true, FileError::none, "new content"},
        {"open_always, missing", Creation::open_always, false, FileError::none, "new"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("mode.txt");
        platform::remove_file(path);
        if (c.file_there_before) write_file(path, "old content");
        {
            FileError error = FileError::other;
            File f = File::open(path, c.creation, &error);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(f.is_open(), c.error == FileError::none);
            if (f.is_open()) {
                EXPECT_EQ(f.write("new"), 3u);
            }
        }
        EXPECT_EQ(platform::file_exists(path), c.after != nullptr);
        if (c.after) {
            EXPECT_EQ(content_of(path), c.after);
        }
    }
}

TEST_F(Win32File, SecondOpenerIsRefusedUntilTheFirstCloses) {
    const std::string path = dir.file("held.txt");
    File first = File::open(path, Creation::create_always, nullptr);
    ASSERT_TRUE(first.is_open());
    ASSERT_EQ(first.write("abc"), 3u);

    FileError second_error = FileError::none;
    File second = File::open(path, Creation::open_existing, &second_error);
    EXPECT_FALSE(second.is_open());
    EXPECT_EQ(second_error, FileError::access_denied);
    // Other programs may read what the writer has written so far, but not delete it.
    EXPECT_EQ(content_of(path), "abc");
    EXPECT_FALSE(platform::remove_file(path));

    first.close();
    EXPECT_TRUE(File::open(path, Creation::open_existing, nullptr).is_open());
    // A reader lets a writer in (a lookup file left open in an editor).
    File reading = File::open(path, Creation::open_existing, nullptr, File::Access::read_only);
    File writing = File::open(path, Creation::open_existing, nullptr);
    EXPECT_TRUE(reading.is_open());
    EXPECT_TRUE(writing.is_open());
}

// A virus scanner or a backup holds a file for a moment: an open waits that out, about half a
// second at most.
TEST_F(Win32File, ABriefHoldByAnotherProgramIsWaitedOut) {
    const std::string path = dir.file("scanned.txt");
    write_file(path, "x");
    for (DWORD hold_ms : {200u, 1500u}) {
        SCOPED_TRACE(hold_ms);
        HANDLE scanner = CreateFileW(platform::to_wide(path).c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
        std::thread release([&] {
            Sleep(hold_ms);
            CloseHandle(scanner);
        });
        const ULONGLONG start = GetTickCount64();
        FileError error = FileError::none;
        File file = File::open(path, Creation::open_existing, &error);
        const ULONGLONG waited = GetTickCount64() - start;
        release.join();
        EXPECT_EQ(file.is_open(), hold_ms < 400);
        EXPECT_GE(waited, hold_ms < 400 ? hold_ms - 50 : 400u);
        if (!file.is_open()) {
            EXPECT_EQ(error, FileError::access_denied);
            EXPECT_LT(waited, 1000u);
        }
    }
}

// A missing folder, and names that Windows takes for devices in any folder: refused, not written
// to.
TEST_F(Win32File, MissingFolderAndReservedDeviceNamesAreRefused) {
    for (const char* name :
         {"no such folder\\x.txt", "NUL.TXT", "con.txt", "COM1.TXT", "LPT1", "aux.dat"}) {
        SCOPED_TRACE(name);
        FileError error = FileError::none;
        File file = File::open(dir.file(name), Creation::create_always, &error);
        EXPECT_FALSE(file.is_open());
        EXPECT_EQ(error, std::string(name).find('\\') != std::string::npos
                             ? FileError::not_found
                             : FileError::access_denied);
    }
}

// Deleting the transfer's own file: only while the path still names that very file.
TEST_F(Win32File, OnlyTheFileThatWasMadeIsRemoved) {
    const std::string path = dir.file("made.txt");
    for (bool replaced : {false, true}) {
        SCOPED_TRACE(replaced);
        File made = File::open(path, Creation::create_always, nullptr);
        const platform::FileIdentity identity = made.identity();
        made.close();
        EXPECT_TRUE(identity.regular);
        if (replaced) {
            // Moved aside rather than deleted, so that its number cannot be given out again.
            ASSERT_TRUE(MoveFileW(platform::to_wide(path).c_str(),
                                  platform::to_wide(dir.file("moved aside.txt")).c_str()));
            write_file(path, "theirs");
        }
        EXPECT_EQ(platform::remove_made_file(path, identity), !replaced);
        EXPECT_EQ(platform::file_exists(path), replaced);
    }
}

TEST_F(Win32File, MovedFileKeepsTheHandleAndClosesOnce) {
    const std::string path = dir.file("moved.txt");
    File a = File::open(path, Creation::create_always, nullptr);
    File b = std::move(a);
    EXPECT_FALSE(a.is_open());
    ASSERT_TRUE(b.is_open());
    EXPECT_EQ(b.write("abc"), 3u);
    File c;
    c = std::move(b);
    EXPECT_EQ(c.write("def"), 3u);
    c.close();
    EXPECT_EQ(content_of(path), "abcdef");
    EXPECT_TRUE(platform::remove_file(path));
    EXPECT_FALSE(platform::file_exists(path));
}

TEST_F(Win32File, SeekSizeAndReadBack) {
    const std::string path = dir.file("seek.txt");
    write_file(path, "12345");
    File f = File::open(path, Creation::open_existing, nullptr);
    ASSERT_TRUE(f.is_open());
    EXPECT_EQ(f.size(), 5u);
    ASSERT_TRUE(f.seek_to_end());
    EXPECT_EQ(f.write("678"), 3u);
    EXPECT_EQ(f.size(), 8u);
    ASSERT_TRUE(f.seek_to_start());
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(f.read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "12345678");
}

TEST_F(Win32File, CzechNamesReachTheDiskAsUnicode) {
    const std::string name = u8"Příliš žluťoučký kůň úpěl ďábelské ódy.TXT";
    const std::string path = dir.file(name);
    const std::string bytes("\x00\xff\r\n\x8a\x9a", 6);  // content passes unchanged
    write_file(path, bytes);

    EXPECT_TRUE(platform::file_exists(path));
    EXPECT_EQ(content_of(path), bytes);
    // The name Windows keeps is the UTF-16 form, not the UTF-8 bytes read as a code page.
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(platform::to_wide(dir.file("*.TXT")).c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_EQ(std::wstring(found.cFileName), L"Příliš žluťoučký kůň úpěl ďábelské ódy.TXT");
    EXPECT_EQ(platform::from_wide(found.cFileName), name);

    EXPECT_TRUE(platform::remove_file(path));
    EXPECT_FALSE(platform::file_exists(path));
}

TEST_F(Win32File, FolderIsNotAFile) {
    EXPECT_FALSE(platform::file_exists(dir.directory()));
    EXPECT_FALSE(platform::file_exists(dir.file("missing.txt")));
}

TEST(Win32Paths, ExecutableDirectoryHoldsTheTestProgram) {
    const std::string directory = platform::executable_directory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '\\');
    EXPECT_EQ(directory, platform::from_wide(win32_test::bin_directory()));
    EXPECT_EQ(platform::join_path(directory, "Ravelo.ini"), directory + "Ravelo.ini");
    EXPECT_EQ(platform::join_path("C:\\x", "a.txt"), "C:\\x\\a.txt");
    EXPECT_EQ(platform::join_path("C:/x/", "a.txt"), "C:/x/a.txt");
}

}  // namespace
