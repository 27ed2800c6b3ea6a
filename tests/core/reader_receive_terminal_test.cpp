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

using namespace testing_support;

struct FaultCase {
    const char* name;
    sim::SourceFaults faults;
};

TEST(ReaderAgainstTerminal, EveryRecordIsStoredOnceWhateverTheTerminalGetsWrong) {
    using F = sim::SourceFaults;
    const FaultCase cases[] = {
        {"none", {}},
        {"bad checksums", faults_with(&F::bad_checksum, {0, 5, 11})},
        {"skipped sequence numbers", faults_with(&F::skip_sequence, {1, 9})},
        {"lost acknowledgements", faults_with(&F::repeat_after_ack, {0, 9, 10})},
        {"oversized records", faults_with(&F::oversize, {3})},
        {"line noise", faults_with(&F::noise, {2, 7})},
        {"pauses under the limit", faults_with(&F::pause_before, {{4, 250}})},
        {"pause over the limit", faults_with(&F::pause_before, {{6, 700}})},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SourceConfig config = one_batch(sim::generate_records(14, 30));
        config.faults = c.faults;
        TerminalRig rig(config);
        EXPECT_EQ(rig.receive(), 14);
        EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0]));
        EXPECT_EQ(rig.terminal.acknowledged().size(), 14u);
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

TEST(ReaderAgainstTerminal, FullSizeRecordsPassUnchanged) {
    sim::SourceConfig config = one_batch(sim::generate_records(12, 251));
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 12);
    EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0]));
}

TEST(ReaderAgainstTerminal, TerminalFallingSilentFailsAfterTenRejections) {
    sim::SourceConfig config = one_batch(sim::generate_records(8, 10));
    config.faults.silent_from = 5;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), -1);
    EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0], 5));
    EXPECT_EQ(rig.written("NAK\r"), 10u);
    EXPECT_EQ(rig.ui.messages.size(), 1u);
}

TEST(ReaderAgainstTerminal, EachTransferStartsAtSequenceZero) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(13, 8), sim::generate_records(4, 8, 100)};
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 13);
    EXPECT_EQ(rig.receive(), 4);
    EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[1]));
    EXPECT_EQ(rig.terminal.batches_done(), 2u);
}

TEST(ReaderAgainstTerminal, TerminalThatNeverSaysAckIsAskedSixTimes) {
    sim::SourceConfig config = one_batch(sim::generate_records(2, 8));
    config.faults.request = sim::SourceFaults::Request::wrong;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_EQ(rig.written("READ\r"), 6u);
    EXPECT_FALSE(platform::file_exists(rig.reader.output_path));
}

// An adapter pulled out ends the transfer at once, saying so rather than "Čas vypršel!".
TEST(ReaderAgainstTerminal, PulledOutAdapterFailsAtOnce) {
    const struct {
        std::size_t writes_before;
        int result;
        std::size_t stored;
    } cases[] = {{0, 0, 0}, {1, 0, 0}, {4, -1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writes_before);
        sim::SourceConfig config = one_batch(sim::generate_records(6, 10));
        TerminalRig rig(config);
        rig.ports.pull_out_after_writes(c.writes_before);
        EXPECT_EQ(rig.receive(), c.result);
        EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0], c.stored));
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, "Port COM1 přestal pracovat!");
        EXPECT_LT(rig.clock.now(), 100u) << "no limit may be slept out";
    }
}

}  // namespace
