// The sender's run: what the user is asked, what is saved, and the attempt loop.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file.h"
#include "platform/file_failure.h"
#include "platform/paths.h"
#include "sender/send_attempt.h"
#include "sender/sender_messages.h"
#include "sender/serial_port.h"
#include "tests/support/send_rig.h"

namespace {

using common::BoxIcon;
using common::BoxOwner;
using namespace testing_support;

const char* const kStored = "/stored\r\nLIST.TXT\r\n2\r\n5\r\n";

std::string settings_file(const SendRig& rig) {
    return read_bytes(rig.temp.file("Lumbra.ini"));
}

TEST(SenderRun, ChoicesAndWhatIsSaved) {
    struct Case {
        const char* name;
        bool stored;      // a settings file exists at start
        bool choose;      // the chooser picks the lookup file (else cancels)
        int port_dialog;  // 1 OK (choosing COM3 at 19200), 2 cancel
        int result;
        std::string settings;  // the settings file afterwards ("" when absent)
        std::vector<std::string> asked;
        std::vector<ShownMessage> messages;
    };
    const ShownMessage no_port = sender_box("Nemohu otevřít COM port!");
    // The chooser opens in the program's folder, with its trailing separator.
    const std::string here = std::string("choose @") + platform::path_separator() + " | ";
    const std::string stored = "choose /stored | LIST.TXT";
    const std::string dialog = "port dialog 1 4";
    const std::string saved = "@\r\nLIST.TXT\r\n3\r\n4\r\n";
    const Case cases[] = {
        {"first start, chooser cancelled", false, false, 1, 0, "", {here}, {}},
        {"stored choices proposed, chooser cancelled", true, false, 1, 0, kStored, {stored}, {}},
        {"port dialog cancelled", true, true, 2, 0, kStored, {stored, dialog}, {}},
        // Confirmed, but the port is missing: the choices are saved all the same.
        {"port missing: saved all the same", true, true, 1, -1, saved, {stored, dialog}, {no_port}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendRig rig;
        rig.write_lookup("abc\r\n");
        rig.sender.settings.lookup_path.clear();
        if (c.stored) write_bytes(rig.temp.file("Lumbra.ini"), kStored);
        if (c.choose) rig.ui.chosen_path = rig.lookup_path;
        rig.ui.port_dialog_result =
            c.port_dialog == 1 ? common::DialogEnd::ok : common::DialogEnd::cancelled;
        rig.ui.on_port_dialog = [](lumbra::Sender& s) {
            s.settings.port_index = 2;
            s.settings.baud_index = 3;
        };
        EXPECT_EQ(rig.run(""), c.result);
        const std::string dir = rig.temp.directory();
        auto in_folder = [&](std::string text) {
            const std::size_t at = text.find('@');
            return at == std::string::npos ? text
                                           : text.replace(at, 1, dir.substr(0, dir.size() - 1));
        };
        EXPECT_EQ(settings_file(rig), in_folder(c.settings));
        std::vector<std::string> asked;
        for (const std::string& a : c.asked) asked.push_back(in_folder(a));
        EXPECT_EQ(rig.ui.calls, asked);
        EXPECT_EQ(rig.boxes.messages, c.messages);
        EXPECT_TRUE(rig.written().empty());
        EXPECT_FALSE(rig.sender.lookup.is_open());
    }
}

TEST(SenderRun, CommandLineAsksNothingAndWritesNoSettings) {
    SendRig rig;
    rig.write_lookup("abc");
    rig.acknowledge({"velmor\r", lookup_record("abc"), "OVER\r"});
    EXPECT_EQ(rig.run(rig.lookup_path + ",1,5"), 1);
    EXPECT_TRUE(rig.sender.loaded);
    EXPECT_EQ(rig.ports.current_line(), nullptr) << "the port is closed at the end";
    EXPECT_EQ(rig.ui.calls,
              (std::vector<std::string>{"init", "open", "progress 100", "progress 100", "close"}));
    EXPECT_FALSE(platform::file_exists(rig.temp.file("Lumbra.ini")));
}

TEST(SenderRun, FilesAndPortsThatCannotBeUsed) {
    const struct {
        const char* name;
        std::string tail_suffix;  // after the lookup path
        bool lookup_exists;
        bool refuse_line;
        int result;
        ShownMessage message;
        std::string lookup = "abc";
        common::FileCharset charset = common::FileCharset::cp1250;
    } cases[] = {
        {"lookup file missing", "", false, false, -1,
         sender_box("Nemohu otevřít soubor!", BoxOwner::none)},
        {"port missing", ",2,1", true, false, -1, sender_box("Nemohu otevřít COM port!")},
        {"line settings refused", "", true, true, 0,
         sender_box("Nelze nastavit komunikační parametry!")},
        // A repeat would find the same line: the question is not asked.
        {"a line too long for a record", "", true, false, 1,
         sender_box(lumbra::overlong_line_message(1)), std::string(254, 'x')},
        {"a character the terminal's code page lacks, in a UTF-8 file", "", true, false, 1,
         sender_box("Řádek 2 lookup souboru obsahuje znak „ñ“ (U+00F1), který kódová stránka 1250 "
                    "nemá!\r\nSoubor nebyl odeslán."),
         "žluť\r\nAño\r\n", common::FileCharset::utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SendRig rig;
        if (c.lookup_exists) rig.write_lookup(c.lookup);
        rig.sender.file_charset = c.charset;
        rig.ports.refuse_configuration(c.refuse_line);
        EXPECT_EQ(rig.run(rig.lookup_path + c.tail_suffix), c.result);
        ShownMessage expected = c.message;
        if (!c.lookup_exists) {
            expected.text = platform::file_failure_message(expected.text, rig.lookup_path, ENOENT);
        }
        EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{expected});
        EXPECT_TRUE(rig.written().empty());
        EXPECT_EQ(rig.ports.current_line(), nullptr);
    }
}

TEST(SenderRun, AFailedAttemptIsRepeatedFromTheFirstLineWhileTheUserSaysYes) {
    const std::string one = lookup_record("one");
    const std::string two = lookup_record("two");
    for (bool repeat : {true, false}) {
        SCOPED_TRACE(repeat ? "yes" : "no");
        SendRig rig;
        rig.write_lookup("one\r\ntwo\r\n");
        rig.boxes.answers = {repeat};
        rig.peer.expect("velmor\r").send("ACK\r", 1);
        // An "ACK" that comes late, while the user thinks the question over, must not be taken
        // for the answer to the repeat's wake-up.
        rig.boxes.while_asking = [&rig] { rig.clock.sleep_ms(10); };
        rig.peer.expect(one).send("ACK\r", 1).expect(two).send("FULL\r", 1).send("ACK\r", 5);
        if (repeat) rig.acknowledge({"velmor\r", one, two, "OVER\r"});
        EXPECT_EQ(rig.run(rig.lookup_path), 1);
        EXPECT_EQ(rig.sender.loaded, repeat);
        EXPECT_EQ(rig.ports.opened_ports().size(), 1u) << "one port for all attempts";
        std::vector<ShownMessage> expected{
            {"Lumbra CHYBA ", "Paměť terminálu nepostačuje!\r\nSnižte velikost lookup souboru...",
             false, BoxIcon::exclamation},
            {"Lumbra", "Přenos selhal, přejete si přenos opakovat?", true, BoxIcon::question}};
        if (repeat) {
            expected.push_back(sender_box("Přenos úspěšně dokončen!"));
        }
        EXPECT_EQ(rig.boxes.messages, expected);
        EXPECT_TRUE(rig.peer.mismatches().empty()) << rig.peer.mismatches().front();
        EXPECT_TRUE(rig.peer.script_done());
    }
}

// A repeat cannot use a port that stopped working: it opens the port afresh, which works once
// the adapter is back and otherwise ends the run instead of asking again.
TEST(SenderRun, APortThatStoppedWorkingIsOpenedAfreshForARepeat) {
    const std::string rec = lookup_record("abc");
    const ShownMessage gone = sender_box("Port COM1 přestal pracovat!");
    const ShownMessage repeat{"Lumbra", "Přenos selhal, přejete si přenos opakovat?", true,
                              BoxIcon::question};
    for (bool back : {true, false}) {
        SCOPED_TRACE(back ? "adapter plugged in again" : "adapter still gone");
        SendRig rig;
        rig.write_lookup("abc");
        rig.boxes.answers = {true};
        rig.ports.pull_out_after_writes(2);
        rig.peer.expect("velmor\r").send("ACK\r", 1).expect(rec).then([&] {
            if (back) rig.ports.pull_out_after_writes(100);
            if (!back) rig.ports.set_available_port("COM9");
        });
        if (back) rig.acknowledge({"velmor\r", rec, "OVER\r"});
        EXPECT_EQ(rig.run(rig.lookup_path), 1);
        EXPECT_EQ(rig.sender.loaded, back);
        EXPECT_EQ(rig.ports.opened_ports().size(), 2u);
        const ShownMessage last =
            sender_box(back ? "Přenos úspěšně dokončen!" : "Nemohu otevřít COM port!");
        EXPECT_EQ(rig.boxes.messages, (std::vector<ShownMessage>{gone, repeat, last}));
        EXPECT_EQ(rig.ports.current_line(), nullptr);
    }
}

}  // namespace

namespace {

TEST(SenderRun, ThePortIsOpenedByIndexWithTheSendersQueuesAndTimeouts) {
    SendRig rig;
    rig.write_lookup("");
    rig.sender.settings.port_index = 5;
    rig.sender.settings.baud_index = 4;
    rig.ports.set_available_port("COM6");
    ASSERT_EQ(lumbra::open_serial_port(rig.sender), common::LineOpen::opened);
    simline::SimulatedLine& line = *rig.ports.current_line();
    EXPECT_EQ(line.baud(), 9600u);
    EXPECT_EQ(line.in_queue(), 256u);
    EXPECT_EQ(line.out_queue(), 1200u);
    lumbra::send_attempt(rig.sender);
    EXPECT_EQ(line.write_timeouts().per_byte_ms, 5u);
    EXPECT_EQ(line.write_timeouts().constant_ms, 50u);
}

}  // namespace
