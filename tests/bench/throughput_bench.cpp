// Throughput over a pseudo-terminal against velmora-sim: records received from its record source
// and lookup lines sent into its lookup target, per second and in bytes on the wire, with this
// process's processor time per record or line. Usage: throughput_bench [receive|send] (both when
// none is named).
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "sender/send_attempt.h"
#include "sender/serial_port.h"
#include "tests/support/attempt_number.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/recording_ui.h"
#include "tests/support/send_rig.h"
#include "tests/support/temp_dir.h"

namespace {

// This process's processor time: the terminal runs in a process of its own.
double cpu_seconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// velmora-sim started with `args`, its pseudo-terminal set as COM1; null when it did not start.
std::unique_ptr<testing_support::BackgroundProcess> start_terminal(const char* label,
                                                                   std::vector<std::string> args) {
    args.insert(args.begin(), std::string(VELMORA_BIN_DIR) + "/velmora-sim");
    auto terminal = std::make_unique<testing_support::BackgroundProcess>(args);
    const std::string device = terminal->read_line(std::chrono::seconds(5));
    if (device.empty()) {
        std::printf("%-28s FAILED: velmora-sim did not start\n", label);
        return nullptr;
    }
    ::setenv("VELMORA_COM1", device.c_str(), 1);
    return terminal;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

template <typename Transfer>
Timing time_of(Transfer transfer) {
    const double cpu_start = cpu_seconds();
    const auto wall_start = std::chrono::steady_clock::now();
    transfer();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count(),
            cpu_seconds() - cpu_start};
}

// `count` units (records, lines) in the time taken, with `wire_bytes` on the wire, and the
// processor time of `who` (this process) per unit.
void report(const char* label, std::size_t count, const char* unit, double wire_bytes,
            const Timing& t, const char* who) {
    std::printf(
        "%-28s %6zu %ss in %6.3f s: %8.0f %ss/s, %9.0f bytes/s on the wire, %s CPU %6.1f us/%s\n",
        label, count, unit, t.wall, count / t.wall, unit, wire_bytes / t.wall, who,
        t.cpu * 1e6 / count, unit);
}

bool receive(const char* label, std::size_t count, std::size_t size, std::uint32_t delay_ms) {
    const auto terminal =
        start_terminal(label, {"source", "--generate", std::to_string(count), "--size",
                               std::to_string(size), "--delay", std::to_string(delay_ms)});
    if (!terminal) return false;
    const testing_support::TempDir folder;
    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    testing_support::RecordingUi ui;
    ravelo::Reader reader(*ports, *clock, ui, ui);
    reader.settings.show_errors = 0;
    reader.output_path = folder.file("BENCH.TXT");
    if (ravelo::open_serial_port(reader) != common::LineOpen::opened) return false;

    int stored = 0;
    const Timing t = time_of([&] { stored = ravelo::receive_records(reader).count_or_failure(); });
    reader.port.reset();
    reader.output.close();
    terminal->stop();

    if (stored != static_cast<int>(count)) {
        std::printf("%-28s FAILED: %d of %zu records\n", label, stored, count);
        return false;
    }
    // Wire bytes per record: sequence, data, two checksum bytes, CR.
    report(label, count, "record", static_cast<double>(count * (size + 4)), t, "reader");
    return true;
}

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

bool send(const char* label, std::size_t count, std::size_t size, std::uint32_t delay_ms) {
    const testing_support::TempDir folder;
    const std::string table = lookup_table(count, size);
    const std::string lookup = folder.file("LIST.TXT");
    const std::string loaded = folder.file("loaded.txt");
    testing_support::write_bytes(lookup, table);
    const auto terminal =
        start_terminal(label, {"lookup", "--out", loaded, "--delay", std::to_string(delay_ms)});
    if (!terminal) return false;

    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    testing_support::RecordingBoxes boxes;
    testing_support::RecordingSenderUi ui;
    lumbra::Sender sender(*ports, *clock, boxes, ui);
    platform::FileError error = platform::FileError::none;
    sender.lookup.load(platform::File::open(lookup, platform::Creation::open_existing, &error,
                                            platform::File::Access::read_only),
                       lumbra::kLookupMemoryLimit);
    if (!sender.lookup.is_open() || lumbra::open_serial_port(sender) != common::LineOpen::opened)
        return false;

    int result = 0;
    const Timing t =
        time_of([&] { result = testing_support::attempt_number(lumbra::send_attempt(sender)); });
    sender.port.reset();
    sender.lookup.close();
    terminal->stop();
    const std::string kept = testing_support::read_bytes(loaded);

    if (result != 1 || kept != table) {
        std::printf("%-28s FAILED: result %d, terminal holds %zu of %zu bytes\n", label, result,
                    kept.size(), table.size());
        return false;
    }
    // Wire bytes per line: payload, two checksum bytes, CR.
    report(label, count, "line", static_cast<double>(count * (size + 3)), t, "sender");
    return true;
}

// A small and a large size, with the terminal answering at once, then after 1 ms.
template <typename Run>
bool run_all(Run run, const char* small, std::size_t small_size, const char* large,
             std::size_t large_size) {
    bool ok = true;
    std::printf("terminal answering at once (0 ms):\n");
    ok &= run(small, 5000, small_size, 0);
    ok &= run(large, 2000, large_size, 0);
    std::printf("terminal answering after 1 ms:\n");
    ok &= run(small, 1000, small_size, 1);
    ok &= run(large, 1000, large_size, 1);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    bool ok = true;
    if (only != "send") {
        std::printf("receiving records:\n");
        ok &= run_all(receive, "  small (10 data bytes)", 10, "  full size (251 data bytes)", 251);
    }
    if (only != "receive") {
        std::printf("sending lookup lines:\n");
        ok &= run_all(send, "  short (10 bytes)", 10, "  longest (253 bytes)", 253);
    }
    return ok ? 0 : 1;
}
