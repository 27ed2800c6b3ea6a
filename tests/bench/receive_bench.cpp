// Receive throughput from velmora-sim over a pseudo-terminal: records and bytes per second, and
// the reader's processor time per record.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/clock.h"
#include "platform/paths.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/bench/cpu_time.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/recording_ui.h"

namespace {

bool run(const char* label, std::size_t count, std::size_t size, std::uint32_t delay_ms) {
    testing_support::BackgroundProcess terminal({std::string(VELMORA_BIN_DIR) + "/velmora-sim",
                                                 "source", "--generate", std::to_string(count),
                                                 "--size", std::to_string(size), "--delay",
                                                 std::to_string(delay_ms)});
    const std::string device = terminal.read_line(std::chrono::seconds(5));
    if (device.empty()) {
        std::printf("%-28s FAILED: velmora-sim did not start\n", label);
        return false;
    }
    ::setenv("VELMORA_COM1", device.c_str(), 1);

    const auto folder =
        std::filesystem::temp_directory_path() / ("ravelo-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    testing_support::RecordingUi ui;
    ravelo::Reader reader(*ports, *clock, ui, ui);
    reader.settings.show_errors = 0;
    reader.output_path = platform::join_path(folder.string(), "BENCH.TXT");
    if (!ravelo::open_serial_port(reader)) return false;

    const double cpu_start = bench::cpu_seconds();
    const auto wall_start = std::chrono::steady_clock::now();
    const int stored = ravelo::receive_records(reader);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const double cpu = bench::cpu_seconds() - cpu_start;
    reader.port.reset();
    reader.output.close();
    terminal.stop();
    std::filesystem::remove_all(folder);

    if (stored != static_cast<int>(count)) {
        std::printf("%-28s FAILED: %d of %zu records\n", label, stored, count);
        return false;
    }
    // Wire bytes per record: sequence, data, two checksum bytes, CR.
    const double wire_bytes = static_cast<double>(count * (size + 4));
    std::printf(
        "%-28s %6zu records in %6.3f s: %8.0f records/s, %9.0f bytes/s on the wire, "
        "reader CPU %6.1f us/record\n",
        label, count, wall, count / wall, wire_bytes / wall, cpu * 1e6 / count);
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    std::printf("terminal answering at once (0 ms):\n");
    ok &= run("  small (10 data bytes)", 5000, 10, 0);
    ok &= run("  full size (251 data bytes)", 2000, 251, 0);
    std::printf("terminal answering after 1 ms:\n");
    ok &= run("  small (10 data bytes)", 1000, 10, 1);
    ok &= run("  full size (251 data bytes)", 1000, 251, 1);
    return ok ? 0 : 1;
}
