// The path the save and open dialogs are handed, so they open where the settings say.
#include <gtest/gtest.h>

#include "common/dialog_start.h"
#include "platform/paths.h"

namespace {

TEST(DialogStart, TheStoredDirectoryTravelsInTheProposedName) {
    const bool windows = platform::path_separator() == '\\';
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
                  windows ? c.on_windows : c.on_posix);
    }
}

}  // namespace
