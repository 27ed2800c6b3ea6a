// One reader run against the simulated terminal: what is left on disk, what the user is shown.
#include <gtest/gtest.h>

#include "reader/run_reader.h"
#include "reader/settings_file.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/receive_rig.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/record_source.h"

namespace {

using namespace testing_support;

sim::Records records(std::initializer_list<const char*> lines) {
    sim::Records out;
    for (const char* line : lines) out.push_back(sim::to_bytes(line));
    return out;
}

TEST(ReaderRun, StoresTheBatchAndOffersToShowItWhenAsked) {
    const ShownMessage offer{"Příjem dat", "Hotovo : 3 záznamů přijato.\nZobrazit přijatá data?",
                             true};
    const struct {
        const char* name;
        int show_received;
        bool answer;
        std::vector<ShownMessage> messages;
        bool viewed;
    } cases[] = {{"yes shows the file", 1, true, {offer}, true},
                 {"no shows nothing", 1, false, {offer}, false},
                 {"silent runs ask nothing", 0, true, {}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRig rig(one_batch(records({"alpha", "beta", "gamma"})));
        rig.reader.settings.show_received = c.show_received;
        rig.ui.answers = {c.answer};
        EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
        EXPECT_EQ(read_bytes(rig.output()), "alpha\r\nbeta\r\ngamma\r\n");
        EXPECT_EQ(rig.ui.messages, c.messages);
        EXPECT_EQ(rig.ui.viewed,
                  c.viewed ? std::vector<std::string>{rig.output()} : std::vector<std::string>{});
        EXPECT_EQ(rig.ports.current_line(), nullptr) << "the port is closed after the transfer";
    }
}

TEST(ReaderRun, AnEmptyBatchLeavesNoFileExceptInAppendMode) {
    TerminalRig overwrite(one_batch({}));
    overwrite.reader.settings.show_received = 1;
    write_bytes(overwrite.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(overwrite.reader), 0);
    EXPECT_FALSE(platform::file_exists(overwrite.output()));
    EXPECT_EQ(overwrite.ui.messages,
              (std::vector<ShownMessage>{{"Příjem dat", "žádná data nepřijata!", false}}));

    TerminalRig append(one_batch({}));
    append.reader.settings.file_mode = ravelo::kAppend;
    write_bytes(append.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(append.reader), 0);
    EXPECT_EQ(read_bytes(append.output()), "old\r\n");
}

TEST(ReaderRun, ATransferThatFailsAfterStoringRecordsKeepsThem) {
    sim::SourceConfig config = one_batch(records({"one", "two", "three", "four", "five"}));
    config.faults.silent_from = 3;
    TerminalRig rig(config);
    rig.reader.settings.show_received = 1;
    rig.reader.output_path = rig.output();
    EXPECT_EQ(ravelo::run_transfer(rig.reader), -1);
    EXPECT_EQ(read_bytes(rig.output()), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(rig.terminal.acknowledged().size(), 3u);
    // The failure was reported where it happened; no result message follows it.
    EXPECT_EQ(rig.ui.messages, reader_error("Čas vypršel!"));
}

TEST(ReaderRun, ATransferThatFailsBeforeTheFirstRecordLeavesNoFile) {
    sim::SourceConfig config = one_batch(records({"one"}));
    config.faults.silent_from = 0;
    TerminalRig rig(config);
    rig.reader.settings.show_errors = 0;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0) << "a failed transfer is no success";
    EXPECT_FALSE(platform::file_exists(rig.output()));
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(ReaderRun, AMissingPortEndsBeforeAnyFileIsTouched) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.ports.set_available_port("COM2");
    rig.reader.settings.show_received = 1;
    write_bytes(rig.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0);
    EXPECT_EQ(read_bytes(rig.output()), "old\r\n");
    // The port's own message only: no transfer took place to report on.
    EXPECT_EQ(rig.ui.messages, reader_error("Nepodařilo se otevřít COM port"));
}

TEST(ReaderRun, CancellingTheDialogTouchesNeitherSettingsNorPort) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    rig.ui.properties_result = common::DialogEnd::cancelled;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0);
    EXPECT_EQ(rig.ui.properties_runs, 1);
    EXPECT_TRUE(rig.ports.opened_ports().empty());
    EXPECT_FALSE(platform::file_exists(rig.reader.settings_path));
}

TEST(ReaderRun, OkInTheDialogSavesTheSettingsBeforeTheTransfer) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    bool saved_before_transfer = false;
    rig.ui.on_properties = [&](ravelo::Reader& reader) {
        reader.settings.file_name = "CHOSEN.TXT";
        reader.output_path = rig.temp.file("CHOSEN.TXT");
        return common::DialogEnd::ok;
    };
    rig.ui.on_polling = [&](ravelo::Reader& reader) {
        saved_before_transfer = platform::file_exists(reader.settings_path);
        return ravelo::PollingEnd::closed;
    };
    EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
    EXPECT_EQ(read_bytes(rig.temp.file("CHOSEN.TXT")), "one\r\n");
    std::string saved;
    ASSERT_TRUE(platform::read_whole_file(rig.reader.settings_path, &saved));
    EXPECT_NE(saved.find("CHOSEN.TXT"), std::string::npos);

    TerminalRig online(one_batch({}));
    online.reader.settings.always_ask = 1;
    online.reader.settings.online = 1;
    online.ui.properties_result = common::DialogEnd::ok;
    online.ui.on_polling = rig.ui.on_polling;
    EXPECT_EQ(ravelo::run_reader(online.reader), 0) << "the polling window ends with 2";
    EXPECT_TRUE(saved_before_transfer);
}

TEST(ReaderRun, TheCommandLineWinsOverAlwaysAsk) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    rig.reader.command_line_mode = true;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
    EXPECT_EQ(rig.ui.properties_runs, 0);
    EXPECT_EQ(rig.reader.output_path, rig.output());
    EXPECT_FALSE(platform::file_exists(rig.reader.settings_path)) << "nothing is saved";
}

}  // namespace
