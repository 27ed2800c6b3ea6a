// The velmora-sim program end to end, driven over its pseudo-terminal by an independent client.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/posix/e2e_rig.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using namespace testing_support;

// Opens the served line raw, as any program talking to the terminal would.
class Line {
  public:
    explicit Line(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios t{};
        if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~Line() {
        if (fd_ >= 0) close(fd_);
    }
    bool is_open() const { return fd_ >= 0; }
    void send(const Bytes& bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void send(const std::string& text) { send(Bytes(text.begin(), text.end())); }
    // One message up to its CR; empty after limit_ms of silence.
    Bytes receive(int limit_ms = 3000) {
        Bytes got;
        pollfd p{fd_, POLLIN, 0};
        std::uint8_t b = 0;
        while (poll(&p, 1, limit_ms) > 0 && read(fd_, &b, 1) == 1) {
            got.push_back(b);
            if (b == 0x0D) return got;
        }
        return {};
    }

  private:
    int fd_;
};

std::string text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

std::uint8_t no_cr(unsigned value) {
    return value == 0x0D ? 0x0E : static_cast<std::uint8_t>(value);
}

TEST(SimProgram, HandsOverAGeneratedBatchThenExitsAndRemovesItsLink) {
    E2eRig rig;
    const std::string link = rig.temp.file("com1");
    const std::string path = rig.start_terminal(
        {"source", "--generate", "12", "--size", "16", "--batches", "1", "--link", link});
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    Line line(link);
    ASSERT_TRUE(line.is_open());
    line.send("READ\r");
    EXPECT_EQ(text(line.receive()), "ACK\r");
    for (unsigned i = 0; i < 12; ++i) {
        const Bytes r = line.receive();
        ASSERT_EQ(r.size(), 16u + 4u) << "record " << i;
        EXPECT_EQ(r[0], i % 10);
        unsigned sum = r[0];
        for (std::size_t k = 1; k < r.size() - 3; ++k) {
            EXPECT_NE(r[k], 0x0D);
            sum += r[k];
        }
        EXPECT_EQ(r[r.size() - 3], no_cr(sum & 0xFF));
        EXPECT_EQ(r[r.size() - 2], no_cr((sum >> 8) & 0xFF));
        char number[8];
        snprintf(number, sizeof number, "R%05u", i + 1);
        EXPECT_EQ(text(Bytes(r.begin() + 1, r.begin() + 7)), number);
        line.send("ACK\r");
    }
    EXPECT_EQ(text(line.receive()), "OVER\r");
    EXPECT_EQ(rig.terminal->wait(3s), 0);
    EXPECT_NE(lstat(link.c_str(), &st), 0);
}

TEST(SimProgram, TakesALookupFileLineByLineAndWritesIt) {
    E2eRig rig;
    const std::string out = rig.temp.file("loaded.txt");
    Line line(rig.start_terminal({"lookup", "--out", out, "--batches", "1"}));
    ASSERT_TRUE(line.is_open());
    line.send("velmor\r");
    EXPECT_EQ(text(line.receive()), "ACK\r");
    const std::vector<std::string> lines{"abc", std::string("\x06\x07", 2), "", "Žluťoučký kůň"};
    for (const std::string& l : lines) {
        Bytes record(l.begin(), l.end());
        unsigned sum = 0;
        for (unsigned char c : l) sum += c;
        record.push_back(no_cr(sum >> 8));
        record.push_back(no_cr(sum & 0xFF));
        record.push_back(0x0D);
        line.send(record);
        EXPECT_EQ(text(line.receive()), "ACK\r") << l;
    }
    // A record with a broken checksum is not acknowledged, and not kept.
    line.send(std::string("xyz\x01\x02\r"));
    EXPECT_NE(text(line.receive()), "ACK\r");
    line.send("OVER\r");
    EXPECT_EQ(text(line.receive()), "ACK\r");
    EXPECT_EQ(rig.terminal->wait(3s), 0);
    EXPECT_EQ(read_bytes(out), std::string("abc\r\n\x06\x07\r\n\r\nŽluťoučký kůň\r\n"));
}

TEST(SimProgram, StopsCleanlyOnTerminateAndRefusesBadOptions) {
    E2eRig rig;
    const auto& temp = rig.temp;
    const std::string link = temp.file("com1");
    {
        Line line(rig.start_terminal({"echo", "--link", link}));
        ASSERT_TRUE(line.is_open());
        line.send(std::string("\x00\x0D\xFF", 3));
        EXPECT_EQ(line.receive(), (Bytes{0x00, 0x0D}));
        rig.terminal->send_signal(SIGTERM);
        EXPECT_EQ(rig.terminal->wait(3s), 0);
        struct stat st {};
        EXPECT_NE(lstat(link.c_str(), &st), 0);
    }
    // A record line longer than the reader can keep.
    const std::string long_records = temp.file("long.txt");
    write_bytes(long_records, "ok\n" + std::string(252, 'x') + "\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"source", "--pause", "3"},
             {"lookup", "--memory"},
             {"reader"},
             {"source", "--size", "252"},
             {"source", "--records", long_records},
             {"echo", "--device", temp.file("no-such-tty")},
             {"lookup", "--transcript", temp.file("no-such-dir/wire.txt")}}) {
        SCOPED_TRACE(args.empty() ? "" : args.back());
        std::vector<std::string> argv{bin_dir() + "/velmora-sim"};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto refused = run_process(argv, {}, 3s);
        EXPECT_EQ(refused.exit_status, 2);
        EXPECT_NE(refused.err.find("velmora-sim: "), std::string::npos);
    }
    const auto version = run_process({bin_dir() + "/velmora-sim", "--version"}, {}, 3s);
    EXPECT_EQ(version.out.rfind("velmora-sim ", 0), 0u);
    EXPECT_EQ(version.exit_status, 0);
}

}  // namespace
