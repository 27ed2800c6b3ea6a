// What a transfer that cannot store its records leaves behind: by what the output path names,
// and when a file-size limit cuts a record (the records acknowledged before it, exactly).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/file.h"
#include "reader/reader_settings.h"
#include "reader/run_reader.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/receive_rig.h"

namespace {

using namespace testing_support;

mode_t type_at(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// Only the file that the transfer made or emptied is deleted. The device is a node of its own in
// the test's folder (as root), never one under /dev: a failing row must not delete a real one.
TEST(ReaderOutputKinds, OnlyTheFileTheTransferMadeIsDeleted) {
    int pipe_reader = -1;
    const struct {
        const char* name;
        std::function<bool(const std::string&)> prepare;  // false: cannot be made here
        std::function<void(const std::string&)> during;   // while the output is open
        mode_t left;                                      // what is at the path after; 0: nothing
        const char* message;
        const char* reason = "";  // after the path, on the message's next line
    } cases[] = {
        {"regular file made by the transfer", nullptr, nullptr, 0, nullptr},
        {"a file put at the path since", nullptr,
         [](const std::string& path) {
             ::unlink(path.c_str());
             reader_test::write_bytes(path, "theirs");
         },
         S_IFREG, nullptr},
        {"a device",
         [](const std::string& path) {
             return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;  // null
         },
         nullptr, S_IFCHR, nullptr},
        {"a pipe with a reader",
         [&](const std::string& path) {
             if (::mkfifo(path.c_str(), 0666) != 0) return false;
             pipe_reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
             return pipe_reader >= 0;
         },
         nullptr, S_IFIFO, nullptr},
        {"a pipe that nobody reads: refused, nothing acknowledged",
         [](const std::string& path) { return ::mkfifo(path.c_str(), 0666) == 0; }, nullptr,
         S_IFIFO, "Nepodařilo se otevřít/vytvořit soubor!", "roura nemá žádného čtenáře"},
        {"a full disk (the full device): said as such",
         [](const std::string& path) {
             return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;  // full
         },
         nullptr, S_IFCHR, "Nepodařilo se zapsat do souboru!!", "disk je plný"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveRig rig;
        rig.reader.settings.show_received = 0;
        const std::string& path = rig.reader.output_path;
        if (c.prepare && !c.prepare(path)) {
            // A device node needs root; the other rows still run.
            if (errno != EPERM) ADD_FAILURE() << "could not make it: " << std::strerror(errno);
            continue;
        }
        if (c.during) rig.ui.screen.on_restore = [&] { c.during(path); };
        rig.peer.expect("READ\r").send("ACK\r", 5);
        if (c.message) {
            rig.peer.send(make_record(0, "aaaa"), 5);
        } else {
            rig.peer.send("OVER\r", 5);
        }
        EXPECT_EQ(ravelo::run_transfer(rig.reader), c.message ? -1 : 0);
        EXPECT_EQ(type_at(path), c.left);
        EXPECT_EQ(rig.written().size(), 1u) << "only READ: no record acknowledged";
        std::vector<ShownMessage> shown;
        if (c.message) {
            shown.push_back(
                {"Chyba", std::string(c.message) + "\n" + path + ": " + c.reason, false});
        }
        EXPECT_EQ(rig.ui.messages, shown);
        if (pipe_reader >= 0) ::close(pipe_reader);
        pipe_reader = -1;
    }
}

// Limits the size of every file this process writes, for the life of the guard.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

TEST(ReaderShortWrite, CutRecordIsTakenOffAgainAndNotAcknowledged) {
    const struct {
        const char* name;
        int file_mode;
        std::string before;
    } cases[] = {
        {"overwrite", ravelo::kOverwrite, ""},
        {"append", ravelo::kAppend, "old\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveRig rig;
        rig.reader.settings.file_mode = c.file_mode;
        if (!c.before.empty()) write_bytes(rig.reader.output_path, c.before);
        // Two whole lines fit; the third stops three bytes in.
        FileSizeLimit limit(c.before.size() + 2 * 6 + 3);
        rig.peer.expect("READ\r").send("ACK\r", 5);
        const char* const data[] = {"aaaa", "bbbb", "cccc"};
        for (int i = 0; i < 3; ++i) rig.peer.send(make_record(i, data[i]), 1).expect("ACK\r");
        EXPECT_EQ(rig.receive(), -1);
        EXPECT_EQ(rig.reader.stored_records, 2);
        EXPECT_EQ(rig.file_content(), c.before + "aaaa\r\nbbbb\r\n");
        EXPECT_EQ(rig.peer.heard().size(), 3u);  // "READ\r" and two acknowledgements
        const std::string said = "Nepodařilo se zapsat do souboru!!\n" + rig.reader.output_path +
                                 ": soubor překročil povolenou velikost";
        EXPECT_EQ(rig.ui.messages, (std::vector<ShownMessage>{{"Chyba", said, false}}));
    }
}

}  // namespace
