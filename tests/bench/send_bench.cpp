// Send throughput into velmora-sim's lookup target over a pseudo-terminal: lines and bytes per
// second, and the sender's processor time per line.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "sender/send_attempt.h"
#include "sender/serial_port.h"
#include "tests/bench/cpu_time.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/recording_ui.h"
#include "tests/support/send_rig.h"

namespace {

// Lines of `size` printable bytes, each ended by CR LF.
std::string lookup_table(std::size_t count, std::size_t size) {
    std::string table;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line = std::to_string(i) + ";";
        while (line.size() < size) line += static_cast<char>('A' + (line.size() + i) % 26);
        table += line.substr(0, size) + "\r\n";
    }
    return table;
}

bool run(const char* label, std::size_t count, std::size_t size, std::uint32_t delay_ms) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("lumbra-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string table = lookup_table(count, size);
    const std::string lookup = (folder / "LIST.TXT").string();
    const std::string loaded = (folder / "loaded.txt").string();
    std::ofstream(lookup, std::ios::binary) << table;

    testing_support::BackgroundProcess terminal({std::string(VELMORA_BIN_DIR) + "/velmora-sim",
                                                 "lookup", "--out", loaded, "--delay",
                                                 std::to_string(delay_ms)});
    const std::string device = terminal.read_line(std::chrono::seconds(5));
    if (device.empty()) {
        std::printf("%-28s FAILED: velmora-sim did not start\n", label);
        return false;
    }
    ::setenv("VELMORA_COM1", device.c_str(), 1);

    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    testing_support::RecordingBoxes boxes;
    testing_support::RecordingSenderUi ui;
    lumbra::Sender sender(*ports, *clock, boxes, ui);
    platform::FileError error = platform::FileError::none;
    sender.lookup.load(
        platform::File::open(lookup, platform::Creation::open_existing, &error, true),
        lumbra::kLookupMemoryLimit);
    if (!sender.lookup.is_open() || lumbra::open_serial_port(sender) != 1) return false;

    const double cpu_start = bench::cpu_seconds();
    const auto wall_start = std::chrono::steady_clock::now();
    const int result = lumbra::send_attempt(sender);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const double cpu = bench::cpu_seconds() - cpu_start;
    sender.port.reset();
    sender.lookup.close();
    terminal.stop();
    std::string kept;
    std::ifstream in(loaded, std::ios::binary);
    kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(folder);

    if (result != 1 || kept != table) {
        std::printf("%-28s FAILED: result %d, terminal holds %zu of %zu bytes\n", label, result,
                    kept.size(), table.size());
        return false;
    }
    // Wire bytes per line: payload, two checksum bytes, CR.
    const double wire_bytes = static_cast<double>(count * (size + 3));
    std::printf(
        "%-28s %6zu lines in %6.3f s: %8.0f lines/s, %9.0f bytes/s on the wire, "
        "sender CPU %6.1f us/line\n",
        label, count, wall, count / wall, wire_bytes / wall, cpu * 1e6 / count);
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    std::printf("terminal answering at once (0 ms):\n");
    ok &= run("  short (10 bytes)", 5000, 10, 0);
    ok &= run("  longest (253 bytes)", 2000, 253, 0);
    std::printf("terminal answering after 1 ms:\n");
    ok &= run("  short (10 bytes)", 1000, 10, 1);
    ok &= run("  longest (253 bytes)", 1000, 253, 1);
    return ok ? 0 : 1;
}
