// What a user feels of both programs on a real line: a terminal paced at 115200 and 9600 bit/s
// on a pseudo-terminal, records and lookup lines of 10, 40 and 251 bytes, against a control
// that only answers (reader) or only sends (sender), so a loaded machine shows as such.
// Usage: paced_bench [records per run, at most] [records|lookup] [size]; Ravelo.exe and Lumbra.exe
// are measured too when VELMORA_WINDOWS_BIN and scripts/wine-env's exports are set.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/bench/paced_line.h"
#include "tests/bench/program_run.h"
#include "tests/support/posix/pty_pair.h"
#include "tests/support/temp_dir.h"
#include "tools/velmora-sim/framing.h"

namespace {

using bench::Bytes;
using bench::now_ns;

struct Outcome {
    bool ok = false;
    double efficiency = 0;          // the stop-and-wait bound's time over the time taken
    std::vector<double> answer_us;  // the program's turnaround, per message
    double cpu_s = 0;               // processor time during the transfer
    double wall_s = 0;
    std::size_t bytes = 0;  // bytes on the wire both ways during the transfer
    long peak_kb = 0;       // the program's peak resident size; 0 for the control
};

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

// The totals of a transfer that ran from `start` to `end` (ns), its bytes counted in `o`.
void close_transfer(Outcome& o, const bench::PacedLine& line, std::int64_t start, std::int64_t end,
                    double cpu_s) {
    o.cpu_s = cpu_s;
    o.wall_s = static_cast<double>(end - start) * 1e-9;
    o.efficiency =
        static_cast<double>(o.bytes) * static_cast<double>(line.byte_ns()) * 1e-9 / o.wall_s;
}

Bytes payload(std::size_t size, std::size_t n) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>('A' + (n * 7 + i) % 26);
    return b;
}

// The record source: "READ\r" answered, `count` records, each awaited, then "OVER\r".
Outcome serve_records(bench::PacedLine& line, std::size_t count, std::size_t size,
                      const std::function<double()>& cpu) {
    Outcome o;
    const bench::Message request = line.receive(60000);
    if (request.bytes != sim::to_bytes("READ\r")) return o;
    line.send(sim::kAck, request.crossed);
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int64_t from = 0;
    double cpu_start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Bytes record = sim::frame_record(static_cast<std::uint8_t>(i % 10), payload(size, i));
        if (i == 0) {
            cpu_start = cpu();
            start = std::max(now_ns(), from);
        }
        const std::int64_t last = line.send(record, from);
        const bench::Message answer = line.receive(2000);
        if (answer.bytes != sim::kAck) return o;
        o.answer_us.push_back(static_cast<double>(answer.first - last) / 1000.0);
        end = from = answer.crossed;
        o.bytes += record.size() + answer.bytes.size();
    }
    close_transfer(o, line, start, end, cpu() - cpu_start);
    line.send(sim::kOver, from);
    o.ok = true;
    return o;
}

// The lookup target: the wake-up and every record answered "ACK\r" until "OVER\r".
Outcome take_lookup(bench::PacedLine& line, std::size_t count, const std::function<double()>& cpu) {
    Outcome o;
    bench::Message m = line.receive(60000);
    if (m.bytes.empty()) return o;
    std::int64_t acked = line.send(sim::kAck, m.crossed);
    std::int64_t start = 0;
    std::int64_t end = 0;
    double cpu_start = 0;
    for (std::size_t n = 0;; ++n) {
        m = line.receive(5000);
        if (m.bytes.empty()) return o;
        if (m.bytes == sim::kOver) break;
        if (n == 0) {
            start = m.first;
            cpu_start = cpu();
        } else {
            o.answer_us.push_back(static_cast<double>(m.first - acked) / 1000.0);
        }
        acked = line.send(sim::kAck, m.crossed);
        end = acked;
        o.bytes += m.bytes.size() + sim::kAck.size();
    }
    close_transfer(o, line, start, end, cpu() - cpu_start);
    line.send(sim::kAck, m.crossed);
    o.ok = o.answer_us.size() + 1 == count;
    return o;
}

struct Case {
    bool reader;
    std::uint32_t baud;
    std::size_t size;
    std::size_t count;
    std::size_t fifo;  // the paced line's FIFO trigger; 0: every byte on its own
};

struct Setup {
    // This benchmark, which is also the control.
    std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::string bin = VELMORA_BIN_DIR;                     // host programs
    std::string windows_bin = env("VELMORA_WINDOWS_BIN");  // empty: no Windows build
    std::string wine_ports = env("VELMORA_WINE_PORTS");
    std::string wine_prefix = env("WINEPREFIX");
    testing_support::TempDir folder;  // the programs' files and logs
};

std::string baud_digit(std::uint32_t baud) {
    return baud == 115200 ? "1" : "5";
}

void write_lookup(const std::filesystem::path& path, const Case& c) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < c.count; ++i) {
        const Bytes p = payload(c.size, i);
        out.write(reinterpret_cast<const char*>(p.data()), static_cast<std::streamsize>(p.size()));
        out << "\r\n";
    }
}

// Blocking reads of all that is waiting, handed out message by message: the least a program on
// this line can do. The next CR-ended message; empty when the line failed.
Bytes next_message(int fd, Bytes& held) {
    for (;;) {
        const auto cr = std::find(held.begin(), held.end(), std::uint8_t{0x0D});
        if (cr != held.end()) {
            Bytes m(held.begin(), cr + 1);
            held.erase(held.begin(), cr + 1);
            return m;
        }
        std::uint8_t chunk[256];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got <= 0) return {};
        held.insert(held.end(), chunk, chunk + got);
    }
}

// The control on its own: `paced_bench --control reader|sender DEVICE COUNT SIZE`. The reader
// sends the request, then "ACK\r" for every record until "OVER\r"; the sender the wake-up, each
// record as soon as "ACK\r" is read, then "OVER\r".
int control_main(char** argv) {
    const int fd = ::open(argv[3], O_RDWR | O_NOCTTY);
    if (fd < 0) return 1;
    Bytes held;
    const auto put = [fd](const Bytes& out) { return ::write(fd, out.data(), out.size()) >= 0; };
    const auto exchange = [&](const Bytes& out) {
        return put(out) && next_message(fd, held) == sim::kAck;
    };
    if (std::string(argv[2]) == "reader") {
        // Answering the terminal's "ACK\r" too would keep the control one answer ahead of it.
        if (!exchange(sim::to_bytes("READ\r"))) return 0;
        for (Bytes m = next_message(fd, held); !m.empty() && m != sim::kOver;
             m = next_message(fd, held)) {
            if (!put(sim::kAck)) return 0;
        }
        return 0;
    }
    const std::size_t size = std::strtoul(argv[5], nullptr, 10);
    std::vector<Bytes> records(std::strtoul(argv[4], nullptr, 10));
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i] = sim::frame_lookup_record(payload(size, i));
    }
    bool ok = exchange(sim::to_bytes("velmor\r"));
    for (std::size_t i = 0; ok && i < records.size(); ++i) ok = exchange(records[i]);
    if (ok) exchange(sim::kOver);
    return 0;
}

// Wine's Z: drive with backslashes.
std::string windows_name(const std::string& path) {
    std::string name = "Z:" + path;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

enum class Who { control, host, wine };

// The control is started as the programs are, a program of its own: a child that was only
// forked stays on the benchmark's processor and is woken far sooner than any started program.
Outcome run(const Case& c, const Setup& s, Who who) {
    test_support::PtyPair pty;
    bench::PacedLine line(pty.master(), c.baud, c.fifo);
    std::map<std::string, std::string> environment;
    std::vector<std::string> argv;
    const std::filesystem::path lookup = s.folder.path() / "LOOKUP.TXT";
    if (!c.reader && who != Who::control) write_lookup(lookup, c);
    std::string file = c.reader ? s.folder.file("OUT.TXT") : lookup.string();
    if (who == Who::wine) file = windows_name(file);
    const std::string tail = c.reader ? file + ",1," + baud_digit(c.baud) + ",1,1,1,0,0,0,0,2"
                                      : file + ",1," + baud_digit(c.baud);
    if (who == Who::control) {
        const char* kind = c.reader ? "reader" : "sender";
        argv = {s.self,
                "--control",
                kind,
                pty.slave_path(),
                std::to_string(c.count),
                std::to_string(c.size)};
    } else if (who == Who::wine) {
        std::filesystem::remove(s.wine_ports + "/ttyCOM1");
        std::filesystem::create_symlink(pty.slave_path(), s.wine_ports + "/ttyCOM1");
        argv = {std::string(VELMORA_SOURCE_DIR) + "/scripts/wine-run",
                s.windows_bin + (c.reader ? "/Ravelo.exe" : "/Lumbra.exe"), tail};
    } else {
        environment["VELMORA_COM1"] = pty.slave_path();
        argv = {s.bin + (c.reader ? "/ravelo" : "/lumbra"), tail};
    }
    bench::ProgramRun program(argv, environment,
                              s.folder.file(who == Who::control ? "control.log" : "program.log"),
                              who == Who::wine ? s.wine_prefix : "");
    const auto cpu = [&program, &pty] { return program.cpu_seconds(pty.slave_path()); };
    Outcome o =
        c.reader ? serve_records(line, c.count, c.size, cpu) : take_lookup(line, c.count, cpu);
    if (who != Who::control) o.peak_kb = program.peak_kb();
    if (who == Who::wine && !c.reader) {
        // Lumbra.exe reports the result in a box: press its OK from outside.
        bench::ProgramRun box({std::string(VELMORA_SOURCE_DIR) + "/scripts/wine-run",
                               s.windows_bin + "/box-answer.exe", "Lumbra", "ok", "20"},
                              {}, s.folder.file("box.log"));
        box.wait(30);
    }
    program.wait(30);
    return o;
}

void print(const char* who, const Outcome& o) {
    if (!o.ok) {
        std::printf("  %-12s FAILED (see the program's log)\n", who);
        return;
    }
    std::printf("  %-12s %6.3f  %9.0f %9.0f  %8.2f  %6.1f %%", who, o.efficiency,
                percentile(o.answer_us, 0.5), percentile(o.answer_us, 0.99),
                o.cpu_s * 1e6 / static_cast<double>(o.bytes), 100.0 * o.cpu_s / o.wall_s);
    if (o.peak_kb > 0) std::printf("  %6.1f", static_cast<double>(o.peak_kb) / 1024.0);
    std::printf("\n");
}

double bound_ms(const Case& c) {
    const double bytes =
        c.reader ? static_cast<double>(c.size + 4 + 4) : static_cast<double>(c.size + 3 + 4);
    return bytes * 10.0 * 1000.0 / c.baud;
}

void run_case(const Case& c, const Setup& s, bool wine) {
    std::printf("\n%s of %zu bytes at %u bit/s, %s: %zu, bound %.2f ms each\n",
                c.reader ? "records" : "lookup lines", c.size, c.baud,
                c.fifo == 0 ? "every byte on its own" : "FIFO of 8 (16550A)", c.count, bound_ms(c));
    std::printf("  %-12s %6s  %9s %9s  %8s  %8s  %6s\n", "", "effic.", "answer50", "answer99",
                "cpu us/B", "core", "peak MB");
    print("control", run(c, s, Who::control));
    print(c.reader ? "ravelo" : "lumbra", run(c, s, Who::host));
    if (wine) print(c.reader ? "Ravelo.exe" : "Lumbra.exe", run(c, s, Who::wine));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--control") return control_main(argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::size_t most = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    // One kind, or one kind and size, when named.
    const std::string only_kind = argc > 2 ? argv[2] : "";
    const std::size_t only_size = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
    const Setup s;
    const bool wine = !s.windows_bin.empty() && !s.wine_ports.empty();
    std::printf("load average at start: ");
    std::fflush(stdout);
    std::system("cut -d' ' -f1-3 /proc/loadavg");
    if (!wine)
        std::printf(
            "(Windows build not measured: set VELMORA_WINDOWS_BIN and run scripts/wine-env)\n");
    std::printf(
        "efficiency = line bound / time taken; answer = the program's turnaround in us "
        "(median, p99); cpu = processor us per byte on the wire, and %% of a core; peak = the "
        "program's peak resident size\n");
    for (bool reader : {true, false}) {
        if (!only_kind.empty() && only_kind != (reader ? "records" : "lookup")) continue;
        for (std::size_t fifo : {0u, 8u}) {
            for (std::uint32_t baud : {115200u, 9600u}) {
                for (std::size_t size : {10u, 40u, 251u}) {
                    if (only_size != 0 && only_size != size) continue;
                    Case c{reader, baud, size, 0, fifo};
                    // Each run lasts about 3 s of wire time, with at least 20 messages.
                    c.count = std::clamp<std::size_t>(
                        static_cast<std::size_t>(3000.0 / bound_ms(c)), 20, most);
                    run_case(c, s, wine);
                }
            }
        }
    }
    std::printf("\nload average at end: ");
    std::fflush(stdout);
    std::system("cut -d' ' -f1-3 /proc/loadavg");
    // The folder goes with the run; VELMORA_BENCH_KEEP keeps a copy of its files and logs.
    const auto kept =
        std::filesystem::temp_directory_path() / ("paced-bench-" + std::to_string(::getpid()));
    if (!env("VELMORA_BENCH_KEEP").empty())
        std::filesystem::copy(s.folder.path(), kept, std::filesystem::copy_options::recursive);
    return 0;
}
