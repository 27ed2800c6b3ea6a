// Files on POSIX: creation modes, refusal of a second opener, honest write counts.
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "platform/file.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::Creation;
using platform::File;
using platform::FileError;

class PlatformFile : public ::testing::Test {
  protected:
    void put(const std::string& content) {
        FileError error;
        File file = File::open(path_, Creation::create_always, &error);
        ASSERT_EQ(error, FileError::none);
        ASSERT_EQ(file.write(content), content.size());
    }
    std::string content() {
        std::string text;
        EXPECT_TRUE(platform::read_whole_file(path_, &text));
        return text;
    }
    // What a second process gets when it opens the file in the given mode.
    FileError error_in_child(Creation creation, File::Access access = File::Access::read_write) {
        return static_cast<FileError>(
            testing_support::child_status(testing_support::start_child([&] {
                FileError error = FileError::other;
                File file = File::open(path_, creation, &error, access);
                return static_cast<int>(error);
            })));
    }

    testing_support::TempDir temp;
    std::string dir_ = temp.path().string();
    std::string path_ = temp.file("DATA.TXT");
};

TEST_F(PlatformFile, CreationModesOnMissingAndExistingFiles) {
    struct Case {
        Creation creation;
        bool exists_before;
        FileError error;
        const char* content_after;  // after writing "new" where the open succeeded; null: no file
    };
    const Case cases[] = {
        {Creation::create_always, false, FileError::none, "new"},
        {Creation::create_always, true, FileError::none, "new"},
        {Creation::create_new, false, FileError::none, "new"},
        {Creation::create_new, true, FileError::exists, "old contents"},
        {Creation::open_existing, false, FileError::not_found, nullptr},
        {Creation::open_existing, true, FileError::none, "new contents"},
        {Creation::open_always, false, FileError::none, "new"},
        {Creation::open_always, true, FileError::none, "new contents"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.creation)) +
                     (c.exists_before ? ", existing" : ", missing"));
        ::unlink(path_.c_str());
        if (c.exists_before) put("old contents");
        FileError error = FileError::other;
        {
            File file = File::open(path_, c.creation, &error);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(file.is_open(), c.error == FileError::none);
            if (file.is_open()) {
                EXPECT_EQ(file.write("new"), 3u);
            }
        }
        if (c.content_after) {
            EXPECT_EQ(content(), c.content_after);
        } else {
            EXPECT_FALSE(platform::file_exists(path_));
        }
    }
}

TEST_F(PlatformFile, OpenAlwaysAppendsAfterSeekToEnd) {
    put("line 1\r\n");
    FileError error;
    File file = File::open(path_, Creation::open_always, &error);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.size(), 8u);
    ASSERT_TRUE(file.seek_to_end());
    EXPECT_EQ(file.write("line 2\r\n"), 8u);
    EXPECT_EQ(file.size(), 16u);
    ASSERT_TRUE(file.seek_to_start());
    std::uint8_t buffer[32] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 16u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 16), "line 1\r\nline 2\r\n");
}

TEST_F(PlatformFile, SecondOpenerIsRefusedAndCannotTruncate) {
    put("kept");
    FileError error;
    File held = File::open(path_, Creation::open_existing, &error);
    ASSERT_TRUE(held.is_open());
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::access_denied);
    EXPECT_EQ(error_in_child(Creation::create_always), FileError::access_denied);
    EXPECT_EQ(held.size(), 4u);
    File again = File::open(path_, Creation::open_always, &error);
    EXPECT_FALSE(again.is_open());
    EXPECT_EQ(error, FileError::access_denied);

    held.close();
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::none);

    // Readers share the file with each other, not with a writer.
    File reading = File::open(path_, Creation::open_existing, &error, File::Access::read_only);
    ASSERT_TRUE(reading.is_open());
    EXPECT_EQ(error_in_child(Creation::open_existing, File::Access::read_only), FileError::none);
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::access_denied);
}

TEST_F(PlatformFile, MovedFileKeepsTheOnlyHandle) {
    FileError error;
    File first = File::open(path_, Creation::create_always, &error);
    File second = std::move(first);
    EXPECT_FALSE(first.is_open());
    EXPECT_EQ(second.write("x"), 1u);
    second = File();
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::none);
}

TEST_F(PlatformFile, FullDiskReportsTheShortCount) {
    FileError error;
    File full = File::open("/dev/full", Creation::open_existing, &error);
    ASSERT_TRUE(full.is_open());
    EXPECT_LT(full.write("record\r\n"), 8u);
}

TEST_F(PlatformFile, ReadOnlyFileTakesNoWrites) {
    put("abc");
    FileError error;
    File file = File::open(path_, Creation::open_existing, &error, File::Access::read_only);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.write("zz"), 0u);
    file.close();
    EXPECT_EQ(content(), "abc");
}

TEST_F(PlatformFile, DirectoryIsNotAFile) {
    FileError error = FileError::none;
    File file = File::open(dir_, Creation::open_existing, &error, File::Access::read_only);
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(error, FileError::access_denied);
}

TEST_F(PlatformFile, WholeFileIsReadByteForByte) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes.push_back(static_cast<char>(i * 7));
    put(bytes);
    EXPECT_EQ(content(), bytes);
    std::string untouched = "before";
    EXPECT_FALSE(platform::read_whole_file(dir_ + "/missing.ini", &untouched));
}

TEST_F(PlatformFile, RemoveFile) {
    put("x");
    EXPECT_TRUE(platform::file_exists(path_));
    EXPECT_TRUE(platform::remove_file(path_));
    EXPECT_FALSE(platform::file_exists(path_));
    EXPECT_FALSE(platform::remove_file(path_));
}

}  // namespace
