// Every fault velmora-sim can play, at the first, a middle and the last record, against the real
// ravelo and lumbra on pseudo-terminals: the output file and the terminal's loaded lines are
// compared byte for byte with what was sent, so nothing is lost, doubled or corrupted.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/posix/e2e_rig.h"
#include "tests/support/receive_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;

constexpr std::size_t kCount = 12;  // the last record's sequence number has wrapped
const std::size_t kPositions[] = {0, 5, kCount - 1};

// Records of every byte value but CR and LF, a full-size one among them.
sim::Records sent_records() {
    const std::size_t lengths[kCount] = {17, 1, 251, 40, 9, 120, 3, 77, 251, 2, 64, 30};
    sim::Records records;
    int value = 0;
    for (std::size_t length : lengths) {
        sim::Bytes record;
        while (record.size() < length) {
            value = (value + 37) % 256;
            if (value != 0x0D && value != 0x0A) record.push_back(static_cast<std::uint8_t>(value));
        }
        records.push_back(record);
    }
    return records;
}

// A fault velmora-sim plays at record `at` against `program` (ravelo against the record source,
// lumbra against the lookup target): its option with `at` and `suffix` as the value, or with the
// size of the lines before `at` when `by_size`.
struct Fault {
    const char* program;
    const char* name;
    const char* option;
    const char* suffix;
    bool completes;  // otherwise the run fails at that record, keeping the ones before it
    const char* message;
    bool by_size = false;

    std::vector<std::string> options(std::size_t at, const sim::Records& sent) const {
        if (by_size) return {option, std::to_string(as_lines(sent, at).size())};
        return {option, std::to_string(at) + suffix};
    }
};

class FaultMatrixE2e : public ::testing::Test, public E2eRig {
  protected:
    FaultMatrixE2e() : E2eRig({"ravelo", "lumbra"}) {
        write_bytes(temp.file("records.txt"), as_lines(records, kCount));
    }
    const sim::Records records = sent_records();
    const std::string reader_tail = "DATA.TXT,1,1,1,1,1,1,0,0,0,2";
};

// The reader's file and the terminal's loaded lines hold every record once; when the fault ends
// the run, the reader's file keeps the records before the fault and the terminal nothing.
TEST_F(FaultMatrixE2e, EveryRecordArrivesOnceWhateverTheOtherSideGetsWrong) {
    const char* const loaded = "[Lumbra] Přenos úspěšně dokončen!\n";
    const Fault faults[] = {
        {"ravelo", "bad checksum", "--bad-checksum", "", true, ""},
        {"ravelo", "skipped sequence", "--skip-seq", "", true, ""},
        {"ravelo", "lost acknowledgement", "--repeat-after-ack", "", true, ""},
        {"ravelo", "oversized", "--oversize", "", true, ""},
        {"ravelo", "line noise", "--noise", "", true, ""},
        {"ravelo", "pause within the limit", "--pause", ":200", true, ""},
        {"ravelo", "pause past the limit", "--pause", ":700", true, ""},
        {"ravelo", "falls silent", "--silent-from", "", false, "[Chyba] Čas vypršel!\n"},
        {"lumbra", "missed acknowledgement", "--miss-ack", "", true, loaded},
        {"lumbra", "garbled answer", "--garbage-at", "", true, loaded},
        {"lumbra", "memory full", "--memory", "", false,
         "[Lumbra CHYBA ] Paměť terminálu nepostačuje!\nSnižte velikost lookup souboru...\n"
         "[Lumbra] Přenos selhal, přejete si přenos opakovat? -> Ne (bez terminálu)\n",
         true},
    };
    for (const Fault& fault : faults) {
        const bool reader = std::string(fault.program) == "ravelo";
        const std::string out = temp.file(reader ? "DATA.TXT" : "kept.txt");
        for (std::size_t at : kPositions) {
            SCOPED_TRACE(std::string(fault.name) + " at record " + std::to_string(at));
            std::vector<std::string> args{reader ? "source" : "lookup",
                                          reader ? "--records" : "--out",
                                          reader ? temp.file("records.txt") : out};
            for (const std::string& a : fault.options(at, records)) args.push_back(a);
            std::filesystem::remove(out);
            const std::string device = start_terminal(args);
            const ProcessResult result = run(
                {fault.program, reader ? reader_tail : temp.file("records.txt")}, env(device), 60s);
            EXPECT_EQ(result.exit_status, fault.completes ? 0 : 1);
            EXPECT_EQ(result.err, fault.message);
            terminal.reset();
            const std::size_t kept = fault.completes ? kCount : (reader ? at : 0);
            EXPECT_EQ(read_bytes(out), as_lines(records, kept));
        }
    }
}

// A file-size limit that cuts a record: the file keeps exactly the whole records before it.
TEST_F(FaultMatrixE2e, ReaderCutShortByAFileSizeLimitKeepsTheWholeRecordsBeforeIt) {
    std::size_t whole = 0;
    while (as_lines(records, whole + 1).size() <= 512) ++whole;
    const std::string device = start_terminal({"source", "--records", temp.file("records.txt")});
    const ProcessResult result = run({"ravelo", reader_tail}, env(device), 60s, "ulimit -f 1;");
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, "[Chyba] Nepodařilo se zapsat do souboru!!\n" + temp.file("DATA.TXT") +
                              ": soubor překročil povolenou velikost\n");
    EXPECT_EQ(read_bytes(temp.file("DATA.TXT")), as_lines(records, whole));
}

// The terminal gone mid-load (its adapter pulled out): either program says at once that the port
// stopped working, instead of waiting out its limits (3.3 s, 12 s) and blaming the terminal.
TEST_F(FaultMatrixE2e, ATerminalGoneMidLoadEndsEitherProgramAtOnce) {
    const struct {
        const char* program;
        std::vector<std::string> args;  // the terminal falls silent at record 5
        std::string tail;
        std::string caption;
        std::string after;
    } rows[] = {
        {"ravelo",
         {"source", "--records", temp.file("records.txt"), "--silent-from", "5"},
         reader_tail,
         "[Chyba] ",
         ""},
        {"lumbra",
         {"lookup", "--miss-ack", "5:4"},
         temp.file("records.txt"),
         "[Lumbra] ",
         "[Lumbra] Přenos selhal, přejete si přenos opakovat? -> Ne (bez terminálu)\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program);
        const std::string device = start_terminal(row.args);
        std::thread unplug([&] {
            std::this_thread::sleep_for(1s);
            terminal->stop();
        });
        const ProcessResult result = run({row.program, row.tail}, env(device), 60s);
        unplug.join();
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.err, row.caption + "Port COM1 přestal pracovat!\nCOM1 = " + device +
                                  ": zařízení zavěsilo linku\nJe převodník USB připojen?\n" +
                                  row.after);
        EXPECT_LT(result.took, 2500ms);
    }
}

}  // namespace
