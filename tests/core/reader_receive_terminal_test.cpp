// The reader against the simulated terminal: whole batches, with the terminal's misbehaviour.
#include <gtest/gtest.h>

#include "platform/paths.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/receive_rig.h"
#include "tests/support/recording_ui.h"
#include "tools/velmora-sim/record_source.h"

namespace {

struct TerminalRig {
    explicit TerminalRig(sim::SourceConfig config) : source(std::move(config)) {
        reader.output_path = temp.file("OUT.TXT");
    }
    ~TerminalRig() { reader.output.close(); }
    int receive() { return testing_support::receive_as_transfer(reader); }
    std::string file() const {
        std::string content;
        platform::read_whole_file(reader.output_path, &content);
        return content;
    }
    std::size_t written(const std::string& message) const {
        std::size_t n = 0;
        for (const auto& e : ports.events()) {
            if (e.kind == simline::LineEvent::written &&
                std::string(e.bytes.begin(), e.bytes.end()) == message) {
                ++n;
            }
        }
        return n;
    }

    simline::VirtualClock clock{0};
    sim::RecordSource source;
    simline::SimulatedPorts ports{clock, source};
    testing_support::RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    reader_test::TempDir temp;
};

std::string as_lines(const sim::Records& records) {
    std::string out;
    for (const auto& r : records) out += std::string(r.begin(), r.end()) + "\r\n";
    return out;
}

struct FaultCase {
    const char* name;
    void (*set)(sim::SourceFaults&);
};

TEST(ReaderAgainstTerminal, EveryRecordIsStoredOnceWhateverTheTerminalGetsWrong) {
    const FaultCase cases[] = {
        {"none", [](sim::SourceFaults&) {}},
        {"bad checksums",
         [](sim::SourceFaults& f) {
             f.bad_checksum = {0, 5, 11};
         }},
        {"skipped sequence numbers",
         [](sim::SourceFaults& f) {
             f.skip_sequence = {1, 9};
         }},
        {"lost acknowledgements",
         [](sim::SourceFaults& f) {
             f.repeat_after_ack = {0, 9, 10};
         }},
        {"oversized records", [](sim::SourceFaults& f) { f.oversize = {3}; }},
        {"line noise",
         [](sim::SourceFaults& f) {
             f.noise = {2, 7};
         }},
        {"pauses under the limit",
         [](sim::SourceFaults& f) {
             f.pause_before = {{4, 250}};
         }},
        {"pause over the limit",
         [](sim::SourceFaults& f) {
             f.pause_before = {{6, 700}};
         }},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SourceConfig config;
        config.batches = {sim::generate_records(14, 30)};
        c.set(config.faults);
        TerminalRig rig(config);
        EXPECT_EQ(rig.receive(), 14);
        EXPECT_EQ(rig.file(), as_lines(config.batches[0]));
        EXPECT_EQ(rig.source.acknowledged().size(), 14u);
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

TEST(ReaderAgainstTerminal, FullSizeRecordsPassUnchanged) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(12, 251)};
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 12);
    EXPECT_EQ(rig.file(), as_lines(config.batches[0]));
}

TEST(ReaderAgainstTerminal, TerminalFallingSilentFailsAfterTenRejections) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(8, 10)};
    config.faults.silent_from = 5;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), -1);
    sim::Records first(config.batches[0].begin(), config.batches[0].begin() + 5);
    EXPECT_EQ(rig.file(), as_lines(first));
    EXPECT_EQ(rig.written("NAK\r"), 10u);
    EXPECT_EQ(rig.ui.messages.size(), 1u);
}

TEST(ReaderAgainstTerminal, EachTransferStartsAtSequenceZero) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(13, 8), sim::generate_records(4, 8, 100)};
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 13);
    EXPECT_EQ(rig.receive(), 4);
    EXPECT_EQ(rig.file(), as_lines(config.batches[1]));
    EXPECT_EQ(rig.source.batches_done(), 2u);
}

TEST(ReaderAgainstTerminal, TerminalThatNeverSaysAckIsAskedSixTimes) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(2, 8)};
    config.faults.request = sim::SourceFaults::Request::wrong;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_EQ(rig.written("READ\r"), 6u);
    EXPECT_FALSE(platform::file_exists(rig.reader.output_path));
}

}  // namespace

// An adapter pulled out ends the transfer at once, saying so rather than "Čas vypršel!".
TEST(ReaderAgainstTerminal, PulledOutAdapterFailsAtOnce) {
    const struct {
        std::size_t writes_before;
        int result;
        std::size_t stored;
    } cases[] = {{0, 0, 0}, {1, 0, 0}, {4, -1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writes_before);
        sim::SourceConfig config;
        config.batches = {sim::generate_records(6, 10)};
        TerminalRig rig(config);
        rig.ports.pull_out_after_writes(c.writes_before);
        EXPECT_EQ(rig.receive(), c.result);
        const sim::Records stored(config.batches[0].begin(),
                                  config.batches[0].begin() + static_cast<long>(c.stored));
        EXPECT_EQ(rig.file(), c.stored ? as_lines(stored) : "");
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, "Port COM1 přestal pracovat!");
        EXPECT_LT(rig.clock.now(), 100u) << "no limit may be slept out";
    }
}
