// A file-size limit that cuts a record: the file keeps exactly the records acknowledged before it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "platform/file.h"
#include "reader/reader_settings.h"
#include "tests/support/receive_rig.h"

namespace {

using testing_support::make_record;
using testing_support::ReceiveRig;
using testing_support::ShownMessage;

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

void write_file(const std::string& path, const std::string& bytes) {
    platform::File file = platform::File::open(path, platform::Creation::create_always, nullptr);
    file.write(bytes);
}

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
        if (!c.before.empty()) write_file(rig.reader.output_path, c.before);
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
