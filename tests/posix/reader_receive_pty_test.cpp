// A batch received end to end over a pseudo-terminal through the real serial line, in real time.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/clock.h"
#include "platform/file.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/support/posix/e2e_rig.h"
#include "tests/support/posix/pty_pair.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::as_lines;

TEST(ReaderOverPty, BatchArrivesByteExact) {
    test_support::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ::setenv("VELMORA_COM3", pty.slave_path().c_str(), 1);

    sim::SourceConfig config;
    // Every byte value but CR, and a full-size record, in one batch.
    sim::Bytes all_bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != 0x0D) all_bytes.push_back(static_cast<std::uint8_t>(b));
    }
    sim::Records batch = sim::generate_records(20, 40);
    batch.push_back(sim::Bytes(all_bytes.begin(), all_bytes.begin() + 251));
    batch.push_back(sim::Bytes(all_bytes.begin() + 251, all_bytes.end()));
    batch.push_back(sim::generate_records(1, 251, 900)[0]);
    config.batches = {batch};
    config.faults.bad_checksum = {3};
    test_support::RecordSourcePump pump(pty, config);

    testing_support::TempDir temp;
    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    testing_support::RecordingUi ui;
    ravelo::Reader reader(*ports, *clock, ui, ui);
    reader.settings.port_index = 2;
    reader.settings.baud_index = 0;
    reader.output_path = temp.file("PTY.TXT");

    ASSERT_EQ(ravelo::open_serial_port(reader), common::LineOpen::opened);
    const int stored = ravelo::receive_records(reader).count_or_failure();
    reader.port.reset();
    reader.output.close();
    pump.stop();

    EXPECT_EQ(stored, static_cast<int>(batch.size()));
    std::string content;
    ASSERT_TRUE(platform::read_whole_file(reader.output_path, &content));
    EXPECT_EQ(content, as_lines(batch));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(pump.source().acknowledged().size(), batch.size());
}

}  // namespace
