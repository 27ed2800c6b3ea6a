// The sender's run (what the user is asked, what is saved, the attempt loop) and the lookup load
// on the wire.
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

const ShownMessage kDone = sender_box("Přenos úspěšně dokončen!");
const ShownMessage kMemoryFull{"Lumbra CHYBA ",
                               "Paměť terminálu nepostačuje!\r\nSnižte velikost lookup souboru...",
                               false, BoxIcon::exclamation};
const ShownMessage kRepeat{"Lumbra", "Přenos selhal, přejete si přenos opakovat?", true,
                           BoxIcon::question};
const ShownMessage kPortGone = sender_box("Port COM1 přestal pracovat!");

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
        std::vector<ShownMessage> expected{kMemoryFull, kRepeat};
        if (repeat) expected.push_back(kDone);
        EXPECT_EQ(rig.boxes.messages, expected);
        EXPECT_TRUE(rig.peer.mismatches().empty()) << rig.peer.mismatches().front();
        EXPECT_TRUE(rig.peer.script_done());
    }
}

// A repeat cannot use a port that stopped working: it opens the port afresh, which works once
// the adapter is back and otherwise ends the run instead of asking again.
TEST(SenderRun, APortThatStoppedWorkingIsOpenedAfreshForARepeat) {
    const std::string rec = lookup_record("abc");
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
        const ShownMessage last = back ? kDone : sender_box("Nemohu otevřít COM port!");
        EXPECT_EQ(rig.boxes.messages, (std::vector<ShownMessage>{kPortGone, kRepeat, last}));
        EXPECT_EQ(rig.ports.current_line(), nullptr);
    }
}

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

// The lookup load on the wire: record bytes, line ends, answers and their time limits.

// Wake-up, one record per payload, end marker: each acknowledged 1 ms after it was written.
std::vector<std::string> load_of(const std::vector<std::string>& payloads) {
    std::vector<std::string> messages{"velmor\r"};
    for (const std::string& p : payloads) messages.push_back(lookup_record(p));
    messages.push_back("OVER\r");
    return messages;
}

std::vector<Heard> one_ms_apart(const std::vector<std::string>& messages) {
    std::vector<Heard> heard;
    for (std::size_t i = 0; i < messages.size(); ++i) heard.push_back({i, messages[i]});
    return heard;
}

using Texts = std::vector<std::string>;
using Writes = std::vector<Heard>;
using Percents = std::vector<int>;

struct LineCase {
    const char* name;
    std::string file;
    Texts payloads;
    Percents progress;  // the bar's positions while sending
    common::FileCharset charset = common::FileCharset::cp1250;
};

TEST(SenderWire, EveryLineBecomesOneRecordWhateverItsLineEnd) {
    const std::string a127(127, 'a');
    const std::string line253(253, 'x');
    std::string z130;
    for (int i = 0; i < 130; ++i) z130 += "ž";
    const LineCase cases[] = {
        {"three examples, last line unended", "abc\r\n" + bytes_of({6, 7}) + "\r\n\r\nlast",
         Texts{"abc", bytes_of({6, 7}), "", "last"}, Percents{100, 100}},
        {"final CR LF adds no record", "one\r\ntwo\r\n", {"one", "two"}, {100, 100}},
        {"empty file", "", {}, {100}},
        {"CR LF split across blocks", a127 + "\r\nb", {a127, "b"}, {100, 100}},
        {"LF alone ends a line", "one\ntwo\n\nthree", {"one", "two", "", "three"}, {100, 100}},
        {"CR alone ends a line, CR CR LF an empty one", "a\rb\r\r\nc", Texts{"a", "b", "", "c"},
         Percents{100, 100}},
        {"NUL and high bytes pass unchanged", bytes_of({0, 0xE8, 0xFF}) + "\r\n",
         Texts{bytes_of({0, 0xE8, 0xFF})}, Percents{100, 100}},
        {"a 253-byte line fits", line253 + "\r\n", {line253}, {50, 100, 100}},
        {"a block without a line end shows nothing between an answer and the next record",
         line253 + "\r\n" + line253 + "\r\n", Texts{line253, line253}, Percents{25, 75, 100, 100}},
        // The limit counts the terminal's bytes; a byte order mark is no part of the first line.
        {"130 × ž in UTF-8 fit, one byte each", "\xEF\xBB\xBF" + z130 + "\r\n",
         Texts{std::string(130, '\x9E')}, Percents{96, 100, 100},  // of 132 bytes to send
         common::FileCharset::utf8},
    };
    for (const LineCase& c : cases)
        for (bool from_pipe : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (from_pipe ? ", from a pipe" : ""));
            SendRig rig;
            rig.write_lookup(c.file);
            rig.from_pipe = from_pipe;
            rig.sender.file_charset = c.charset;
            const std::vector<std::string> load = load_of(c.payloads);
            rig.acknowledge(load);
            EXPECT_EQ(rig.attempt(), 1);
            EXPECT_EQ(rig.written(), one_ms_apart(load));
            std::vector<std::string> ui{"open"};
            for (int p : c.progress) ui.push_back("progress " + std::to_string(p));
            ui.push_back("close");
            EXPECT_EQ(rig.ui.calls, ui);
            EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{kDone});
        }
}

TEST(SenderWire, TheRecordBytesOfTheExamples) {
    EXPECT_EQ(lookup_record("abc"), bytes_of({0x61, 0x62, 0x63, 0x01, 0x26, 0x0D}));
    EXPECT_EQ(lookup_record(bytes_of({6, 7})), bytes_of({6, 7, 0x00, 0x0E, 0x0D}));
    EXPECT_EQ(lookup_record(""), bytes_of({0, 0, 0x0D}));
}

// The file is read in 128-byte blocks: a CR LF split between two is still one line end.
TEST(SenderWire, ALineTooLongForARecordSendsNothingAndNamesTheLine) {
    const std::string overlong(254, 'x');
    const struct {
        std::string file;
        int line;
    } cases[] = {
        {"one\ntwo\r\n" + overlong + "\r\nfour\r\n", 3},
        {std::string(127, 'a') + "\r\n" + overlong + "\r\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        SendRig rig;
        rig.write_lookup(c.file);
        EXPECT_EQ(rig.attempt(), -1) << "failed on the file";
        EXPECT_TRUE(rig.written().empty());
        EXPECT_TRUE(rig.ui.calls.empty());
        EXPECT_EQ(
            rig.boxes.messages,
            (std::vector<ShownMessage>{sender_box("Řádek " + std::to_string(c.line) +
                                                  " lookup souboru je delší než 253 bajtů!\r\n"
                                                  "Soubor nebyl odeslán.")}));
    }
}

struct AnswerCase {
    const char* name;
    int result;
    ShownMessage message;
    std::uint64_t ends_at;
    // The terminal's script after the wake-up was acknowledged at 1 ms.
    std::function<void(testing_support::ScriptedPeer&)> script;
    std::vector<Heard> written;
};

// The writes of an attempt: the wake-up at 0 ms, then these.
std::vector<Heard> after_wake_up(std::vector<Heard> writes) {
    writes.insert(writes.begin(), {0, "velmor\r"});
    return writes;
}

TEST(SenderWire, AnswersAndTheirTimeLimits) {
    const std::string rec = lookup_record("abc");
    const ShownMessage error = sender_box("Chyba při přenosu šablony!");
    const AnswerCase cases[] = {
        {"ACK without CR is taken when 3 s have passed", 1, kDone, 3003,
         [&](auto& p) { p.expect(rec).send("ACK", 1).expect("OVER\r").send("ACK\r", 1); },
         after_wake_up({{1, rec}, {3002, "OVER\r"}})},
        // The limit is passed only once the counter is beyond it: the answer's last byte may
        // come 1 ms after the limit.
        {"an answer ending 1 ms past the limit is taken", 1, kDone, 3003,
         [&](auto& p) {
             p.expect(rec).send("AC", 3000).send("K\r", 1).expect("OVER\r").send("ACK\r", 1);
         },
         after_wake_up({{1, rec}, {3002, "OVER\r"}})},
        {"a silent terminal gets the record four times, 3 s apart", 0, error, 12005, [](auto&) {},
         after_wake_up({{1, rec}, {3002, rec}, {6003, rec}, {9004, rec}})},
        {"ack is no acknowledgement of a record", 0, error, 5,
         [&](auto& p) {
             for (int i = 0; i < 4; ++i) p.expect(rec).send("ack\r", 1);
         },
         after_wake_up({{1, rec}, {2, rec}, {3, rec}, {4, rec}})},
        {"one lost answer, then ACK", 1, kDone, 3004,
         [&](auto& p) {
             p.expect(rec).expect(rec).send("ACK\r", 1).expect("OVER\r").send("ACK\r", 1);
         },
         after_wake_up({{1, rec}, {3002, rec}, {3003, "OVER\r"}})},
        {"FULL ends the attempt after one send", 0, kMemoryFull, 2,
         [&](auto& p) { p.expect(rec).send("FULL\r", 1); }, after_wake_up({{1, rec}})},
        {"FULL to the end marker", 0, kMemoryFull, 3,
         [&](auto& p) { p.expect(rec).send("ACK\r", 1).expect("OVER\r").send("FULL\r", 1); },
         after_wake_up({{1, rec}, {2, "OVER\r"}})},
        {"an answer of ten bytes without CR ends at once", 0, error, 5,
         [&](auto& p) {
             p.expect(rec).send("0123456789", 1);
             for (int i = 0; i < 3; ++i) p.expect(rec).send("NAK\r", 1);
         },
         after_wake_up({{1, rec}, {2, rec}, {3, rec}, {4, rec}})},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        SendRig rig;
        rig.write_lookup("abc");
        rig.peer.expect("velmor\r").send("ACK\r", 1);
        c.script(rig.peer);
        EXPECT_EQ(rig.attempt(), c.result);
        EXPECT_EQ(rig.written(), c.written);
        EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{c.message});
        EXPECT_EQ(rig.clock.now(), c.ends_at);
        EXPECT_TRUE(rig.peer.mismatches().empty()) << rig.peer.mismatches().front();
        EXPECT_EQ(rig.ui.calls.front(), "open");
        EXPECT_EQ(rig.ui.calls.back(), "close") << "the message comes before the window closes";
    }
}

TEST(SenderWire, WakeUps) {
    const ShownMessage not_ready = sender_box("Terminál není připraven!");
    struct Case {
        const char* name;
        Texts answers;  // to each wake-up, in order; "" for silence
        std::vector<Heard> written;
        bool ready;
    };
    const Case cases[] = {
        {"silent: three wake-ups 3 s apart", Texts{"", "", ""},
         Writes{{0, "velmor\r"}, {3001, "VELMOR\r"}, {6002, "VELMOR\r"}}, false},
        {"ack is ready", {"ack\r"}, {{0, "velmor\r"}}, true},
        {"wrong answers cost no wait", Texts{"NAK\r", "ACK \r", "ACK\r"},
         Writes{{0, "velmor\r"}, {1, "VELMOR\r"}, {2, "VELMOR\r"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendRig rig;
        rig.write_lookup("");
        for (std::size_t i = 0; i < c.answers.size(); ++i) {
            rig.peer.expect(i == 0 ? "velmor\r" : "VELMOR\r");
            if (!c.answers[i].empty()) rig.peer.send(c.answers[i], 1);
        }
        if (c.ready) rig.peer.expect("OVER\r").send("ACK\r", 1);
        EXPECT_EQ(rig.attempt(), c.ready ? 1 : 0);
        std::vector<Heard> written = c.written;
        if (c.ready) written.push_back({written.back().time + 1, "OVER\r"});
        EXPECT_EQ(rig.written(), written);
        if (!c.ready) {
            EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{not_ready});
            EXPECT_TRUE(rig.ui.calls.empty()) << "no progress window without a ready terminal";
            EXPECT_EQ(rig.clock.now(), 9003u);
        }
    }
}

// An adapter pulled out ends the attempt at once, saying so rather than blaming the terminal.
TEST(SenderWire, PulledOutAdapterFailsAtOnce) {
    const struct {
        std::size_t writes_before;
        std::vector<Heard> written;
        std::uint64_t ends_at;
    } cases[] = {{0, {}, 0}, {2, {{0, "velmor\r"}, {1, lookup_record("abc")}}, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writes_before);
        SendRig rig;
        rig.write_lookup("abc");
        rig.peer.expect("velmor\r").send("ACK\r", 1);
        rig.ports.pull_out_after_writes(c.writes_before);
        EXPECT_EQ(rig.attempt(), 0);
        EXPECT_EQ(rig.written(), c.written);
        EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{kPortGone});
        EXPECT_EQ(rig.clock.now(), c.ends_at);
    }
}

// A late "ACK" left on the line by a load that was stopped is no answer to this wake-up.
TEST(SenderWire, BytesLeftOnTheLineBeforeTheRunAreDiscarded) {
    SendRig rig;
    rig.write_lookup("abc");
    rig.peer.send("ACK\r");
    rig.acknowledge(load_of({"abc"}));
    EXPECT_EQ(rig.attempt(), 1);
    EXPECT_EQ(rig.written(), one_ms_apart(load_of({"abc"})));
}

}  // namespace
