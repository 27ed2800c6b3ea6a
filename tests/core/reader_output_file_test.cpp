// Output file modes offline and online, automatic names and their collisions, and the messages.
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "platform/file_failure.h"
#include "reader/output_file.h"
#include "reader/reader_messages.h"
#include "tests/core/reader_test_fixture.h"

namespace {

using namespace testing_support;
using reader_test::ReaderFixture;

platform::LocalTime at(int year, int month, int day, int hour, int minute) {
    return {year, month, day, hour, minute, 0};
}

// The error box naming `path`, or none when there is no message.
std::vector<ShownMessage> error_for(const char* message, const std::string& path, int error) {
    if (!message) return {};
    return reader_error(platform::file_failure_message(message, path, error));
}

TEST(ReaderOutputFile, AutomaticNamesFromDateAndTime) {
    const struct {
        platform::LocalTime time;
        int suffix;
        const char* name;
    } cases[] = {
        {at(2007, 3, 6, 9, 17), 7, "73060917.TXT"},    {at(2007, 3, 6, 9, 17), 8, "73060918.TXT"},
        {at(2007, 3, 6, 9, 19), 10, "7306091A.TXT"},   {at(2007, 3, 6, 9, 19), 35, "7306091Z.TXT"},
        {at(2009, 10, 31, 23, 59), 9, "9A312359.TXT"}, {at(2011, 11, 1, 0, 0), 0, "1B010000.TXT"},
        {at(2012, 12, 24, 18, 5), 5, "2C241805.TXT"},  {at(2010, 1, 2, 3, 4), 4, "01020304.TXT"},
    };
    for (const auto& c : cases) EXPECT_EQ(ravelo::automatic_name(c.time, c.suffix), c.name);
}

TEST(ReaderOutputFile, OutputPathPutsOneSeparatorOnlyWhereNeeded) {
    const std::string sep(1, platform::path_separator());
    const std::pair<std::string, std::string> cases[] = {
        {"", "out.txt"},
        {"data", "data" + sep + "out.txt"},
        {"data" + sep, "data" + sep + "out.txt"},
    };
    for (const auto& [directory, expected] : cases) {
        ravelo::ReaderSettings s;
        s.directory = directory;
        s.file_name = "out.txt";
        EXPECT_EQ(ravelo::build_output_path(s), expected);
    }
}

struct ModeCase {
    int online;
    int file_mode;
    bool file_exists;
    int result;
    std::string content;  // after "new" was written through the opened file
    const char* message;  // nullptr for none
};

// Opens out.txt with "old" in it (or no file), writes "new", and checks what is left.
TEST(ReaderOutputFile, NamedModesOfflineAndOnline) {
    const ModeCase cases[] = {
        {0, 0, true, 1, "new", nullptr},
        {0, 0, false, 1, "new", nullptr},
        {0, 1, true, 1, "oldnew", nullptr},
        {0, 1, false, 1, "new", nullptr},
        {0, 2, true, 0, "old", ravelo::kFileAlreadyExists},
        {0, 2, false, 1, "new", nullptr},
        {1, 1, true, 1, "oldnew", nullptr},
        {1, 1, false, 1, "new", nullptr},
        {1, 2, true, 1, "new", nullptr},
        {1, 2, false, 1, "new", nullptr},
    };
    for (const ModeCase& c : cases) {
        for (int show_errors : {1, 0}) {
            ReaderFixture f;
            f.reader.settings.online = c.online;
            f.reader.settings.file_mode = c.file_mode;
            f.reader.settings.show_errors = show_errors;
            f.reader.output_path = f.temp.file("out.txt");
            if (c.file_exists) write_bytes(f.reader.output_path, "old");
            SCOPED_TRACE("online " + std::to_string(c.online) + " mode " +
                         std::to_string(c.file_mode) + (c.file_exists ? " existing" : " missing"));

            EXPECT_EQ(ravelo::open_output_file(f.reader), c.result);
            f.reader.output.write("new");
            f.reader.output.close();
            EXPECT_EQ(read_bytes(f.reader.output_path), c.content);
            EXPECT_EQ(f.reader.output_path, f.temp.file("out.txt"));
            EXPECT_EQ(f.ui.messages,
                      error_for(show_errors ? c.message : nullptr, f.temp.file("out.txt"), EEXIST));
        }
    }
}

TEST(ReaderOutputFile, MissingDirectoryFailsEveryModeButAppend) {
    const struct {
        int online;
        int file_mode;
        int result;
        const char* message;
    } cases[] = {
        {0, 0, 0, ravelo::kCannotOpenOrCreateFile}, {0, 1, 1, nullptr},
        {0, 2, 0, ravelo::kFileAlreadyExists},      {0, 3, 0, ravelo::kCannotOpenOrCreateFile},
        {1, 0, 0, ravelo::kCannotOpenOrCreateFile}, {1, 1, 1, nullptr},
        {1, 2, 0, ravelo::kCannotOpenOrCreateFile}, {1, 3, 0, ravelo::kCannotOpenOrCreateFile},
    };
    for (const auto& c : cases) {
        ReaderFixture f;
        f.reader.settings.online = c.online;
        f.reader.settings.file_mode = c.file_mode;
        f.reader.settings.directory = f.temp.file("missing");
        f.reader.output_path = f.temp.file("missing") + platform::path_separator() + "out.txt";
        SCOPED_TRACE("online " + std::to_string(c.online) + " mode " + std::to_string(c.file_mode));

        EXPECT_EQ(ravelo::open_output_file(f.reader), c.result);
        // Append's success is only nominal: the first write fails, so no record is acknowledged.
        EXPECT_FALSE(f.reader.output.is_open());
        EXPECT_EQ(f.reader.output.write("new"), 0u);
        // An automatic name names the folder it could not make a file in.
        const bool automatic =
            ravelo::output_opening(f.reader.settings) == ravelo::OutputOpening::automatic_name;
        const std::string named =
            automatic ? platform::join_path(f.reader.settings.directory, "") : f.reader.output_path;
        EXPECT_EQ(f.ui.messages, error_for(c.message, named, ENOENT));
        EXPECT_FALSE(std::filesystem::exists(f.temp.file("missing")));
    }
}

// Offline automatic names in the fixture's folder, at the given time.
void automatic_at(ReaderFixture& f, const platform::LocalTime& time) {
    f.reader.settings.file_mode = 3;
    f.reader.settings.directory = f.temp.directory();
    f.clock.set_local_time(time);
}

// Opens an automatic-mode file at the clock's time and returns the name it got ("" on failure).
std::string open_automatic(ReaderFixture& f) {
    if (ravelo::open_output_file(f.reader) != 1) return "";
    f.reader.output.close();
    const std::string& path = f.reader.output_path;
    EXPECT_EQ(path.rfind(f.reader.settings.directory, 0), 0u) << path;
    return path.substr(f.reader.settings.directory.size());
}

TEST(ReaderOutputFile, AutomaticModesCountUpWithinTheMinute) {
    const std::pair<int, int> automatic_modes[] = {{0, 3}, {1, 0}, {1, 3}};
    for (const auto& [online, mode] : automatic_modes) {
        ReaderFixture f;
        f.reader.settings.online = online;
        f.reader.settings.file_mode = mode;
        f.reader.settings.directory = f.temp.directory();
        f.clock.set_local_time(at(2007, 3, 6, 9, 17));
        EXPECT_EQ(open_automatic(f), "73060917.TXT");
        EXPECT_EQ(open_automatic(f), "73060918.TXT");
        EXPECT_EQ(open_automatic(f), "73060919.TXT");
        EXPECT_EQ(open_automatic(f), "7306091A.TXT");
        f.clock.set_local_time(at(2007, 3, 6, 9, 18));
        EXPECT_EQ(open_automatic(f), "7306091B.TXT");
        f.clock.set_local_time(at(2007, 3, 6, 9, 20));
        EXPECT_EQ(open_automatic(f), "73060920.TXT");
        EXPECT_TRUE(f.ui.messages.empty());
    }
}

// Names already taken are passed over, and what they hold is left alone.
TEST(ReaderOutputFile, AutomaticSearchPassesExistingFilesUpToZ) {
    const struct {
        platform::LocalTime time;
        int first_taken, last_taken;
        const char* name;
    } cases[] = {{at(2012, 12, 24, 18, 59), 9, 9, "2C24185A.TXT"},
                 {at(2007, 3, 6, 9, 17), 7, 34, "7306091Z.TXT"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReaderFixture f;
        automatic_at(f, c.time);
        for (int suffix = c.first_taken; suffix <= c.last_taken; ++suffix) {
            write_bytes(f.temp.file(ravelo::automatic_name(c.time, suffix)), "old");
        }
        EXPECT_EQ(open_automatic(f), c.name);
        EXPECT_EQ(read_bytes(f.temp.file(ravelo::automatic_name(c.time, c.first_taken))), "old");
    }
}

TEST(ReaderOutputFile, AutomaticSearchEndsAfterZ) {
    for (int show_errors : {1, 0}) {
        ReaderFixture f;
        automatic_at(f, at(2007, 3, 6, 9, 17));
        f.reader.settings.show_errors = show_errors;
        f.reader.output_path = "unchanged";
        for (int suffix = 7; suffix <= 35; ++suffix) {
            write_bytes(f.temp.file(ravelo::automatic_name(f.clock.local_time(), suffix)), "");
        }
        EXPECT_EQ(ravelo::open_output_file(f.reader), 0);
        EXPECT_FALSE(f.reader.output.is_open());
        EXPECT_EQ(f.reader.output_path, "unchanged");
        EXPECT_EQ(f.ui.messages, error_for(show_errors ? ravelo::kCannotOpenOrCreateFile : nullptr,
                                           platform::join_path(f.temp.directory(), ""), EEXIST));
        const std::filesystem::directory_iterator files(f.temp.directory());
        EXPECT_EQ(std::distance(begin(files), end(files)), 29);
    }
}

// A scanner or indexer may still hold a file whose name was deleted: the next name may be free.
TEST(ReaderOutputFile, AutomaticSearchPassesNamesInUseAndStopsAtOtherFailures) {
    using E = platform::FileError;
    const struct {
        const char* name;
        std::vector<E> outcomes;  // of the names tried from suffix 7 on; none from then on
        int suffix;
        std::size_t tries;
    } cases[] = {
        {"refused, then free", {E::access_denied}, 8, 2},
        {"taken, refused, taken", {E::exists, E::access_denied, E::exists}, 10, 4},
        {"missing directory", {E::not_found}, -1, 1},
        {"other failure", {E::exists, E::other}, -1, 2},
        {"every name to Z in use", std::vector<E>(29, E::access_denied), -1, 29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> tried;
        const std::optional<int> suffix = ravelo::search_automatic_name(7, [&](int candidate) {
            tried.push_back(candidate);
            return tried.size() <= c.outcomes.size() ? c.outcomes[tried.size() - 1] : E::none;
        });
        EXPECT_EQ(suffix, c.suffix < 0 ? std::nullopt : std::optional<int>(c.suffix));
        ASSERT_EQ(tried.size(), c.tries);
        EXPECT_EQ(tried.back(), 7 + static_cast<int>(c.tries) - 1);
    }
}

TEST(ReaderOutputFile, AutomaticNameWithEmptyDirectoryIsRelative) {
    ReaderFixture f;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(f.temp.directory());
    f.reader.settings.file_mode = 3;
    f.reader.settings.directory = "";
    f.clock.set_local_time(at(2010, 10, 5, 7, 3));
    const int result = ravelo::open_output_file(f.reader);
    f.reader.output.close();
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(f.reader.output_path, "0A050703.TXT");
    EXPECT_TRUE(std::filesystem::exists(f.temp.file("0A050703.TXT")));
}

// An absolute file name's folder takes the automatic names, whatever the output directory.
TEST(ReaderOutputFile, AutomaticNameAddsASeparatorOnlyWhenMissing) {
    ReaderFixture f;
    f.reader.settings.file_mode = 3;
    std::string directory = f.temp.directory();
    directory.pop_back();
    f.clock.set_local_time(at(2007, 3, 6, 9, 17));
    const std::pair<std::string, std::string> cases[] = {
        {directory, ""}, {f.temp.directory(), "x.txt"}, {"elsewhere", f.temp.file("X.TXT")}};
    for (const auto& [d, name] : cases) {
        f.reader.settings.directory = d;
        f.reader.settings.file_name = name;
        ASSERT_EQ(ravelo::open_output_file(f.reader), 1);
        f.reader.output.close();
        EXPECT_EQ(f.reader.output_path.substr(0, f.temp.directory().size() + 1),
                  f.temp.directory() + "7");
    }
    EXPECT_TRUE(std::filesystem::exists(f.temp.file("73060917.TXT")));
    EXPECT_TRUE(std::filesystem::exists(f.temp.file("73060918.TXT")));
    EXPECT_TRUE(std::filesystem::exists(f.temp.file("73060919.TXT")));
}

}  // namespace
