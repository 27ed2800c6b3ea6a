// The lookup load on the wire: record bytes, line ends, answers and their time limits.
#include <gtest/gtest.h>

#include "sender/sender_messages.h"
#include "tests/support/send_rig.h"

namespace {

using common::BoxIcon;
using namespace testing_support;

const ShownMessage kDone = sender_box("Přenos úspěšně dokončen!");

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
    const ShownMessage full{"Lumbra CHYBA ",
                            "Paměť terminálu nepostačuje!\r\nSnižte velikost lookup souboru...",
                            false, BoxIcon::exclamation};
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
        {"FULL ends the attempt after one send", 0, full, 2,
         [&](auto& p) { p.expect(rec).send("FULL\r", 1); }, after_wake_up({{1, rec}})},
        {"FULL to the end marker", 0, full, 3,
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
    const ShownMessage gone = sender_box("Port COM1 přestal pracovat!");
    const struct {
        std::size_t writes_before;
        std::vector<Heard> written;
        ShownMessage message;
        std::uint64_t ends_at;
    } cases[] = {{0, {}, gone, 0}, {2, {{0, "velmor\r"}, {1, lookup_record("abc")}}, gone, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writes_before);
        SendRig rig;
        rig.write_lookup("abc");
        rig.peer.expect("velmor\r").send("ACK\r", 1);
        rig.ports.pull_out_after_writes(c.writes_before);
        EXPECT_EQ(rig.attempt(), 0);
        EXPECT_EQ(rig.written(), c.written);
        EXPECT_EQ(rig.boxes.messages, std::vector<ShownMessage>{c.message});
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
