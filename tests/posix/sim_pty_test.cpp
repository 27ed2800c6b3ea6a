// The velmora-sim program end to end, driven over its pseudo-terminal by an independent client.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The simulator as a child process, its standard output on a pipe.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> args) {
        int out[2];
        int err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            std::vector<char*> argv;
            static std::string program = VELMORA_BIN_DIR "/velmora-sim";
            argv.push_back(program.data());
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Simulator() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }

    // The first line of standard output, without its line end.
    std::string first_line(int limit_ms = 5000) { return read_line(out_, limit_ms); }
    std::string error_text() { return read_line(err_, 2000); }

    // The exit status, or nothing when the process is still running after limit_ms.
    std::optional<int> wait_exit(int limit_ms) {
        for (int waited = 0; waited <= limit_ms; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return status_;
            }
            usleep(10000);
        }
        return std::nullopt;
    }
    void signal(int sig) { kill(pid_, sig); }

  private:
    static std::string read_line(int fd, int limit_ms) {
        std::string line;
        char c = 0;
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, limit_ms) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::optional<int> status_;
};

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

std::string temp_dir() {
    char name[] = "/tmp/velmora-sim-test-XXXXXX";
    return mkdtemp(name) ? name : "/tmp";
}

TEST(SimProgram, HandsOverAGeneratedBatchThenExitsAndRemovesItsLink) {
    const std::string dir = temp_dir();
    const std::string link = dir + "/com1";
    Simulator sim({"source", "--generate", "12", "--size", "16", "--batches", "1", "--link", link});
    const std::string path = sim.first_line();
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
    EXPECT_EQ(sim.wait_exit(3000), 0);
    EXPECT_NE(lstat(link.c_str(), &st), 0);
    rmdir(dir.c_str());
}

TEST(SimProgram, TakesALookupFileLineByLineAndWritesIt) {
    const std::string dir = temp_dir();
    const std::string out = dir + "/loaded.txt";
    Simulator sim({"lookup", "--out", out, "--batches", "1"});
    Line line(sim.first_line());
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
    EXPECT_EQ(sim.wait_exit(3000), 0);
    std::ifstream in(out, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(content, std::string("abc\r\n\x06\x07\r\n\r\nŽluťoučký kůň\r\n"));
    unlink(out.c_str());
    rmdir(dir.c_str());
}

TEST(SimProgram, StopsCleanlyOnTerminateAndRefusesBadOptions) {
    const std::string dir = temp_dir();
    const std::string link = dir + "/com1";
    {
        Simulator sim({"echo", "--link", link});
        Line line(sim.first_line());
        ASSERT_TRUE(line.is_open());
        line.send(std::string("\x00\x0D\xFF", 3));
        EXPECT_EQ(line.receive(), (Bytes{0x00, 0x0D}));
        sim.signal(SIGTERM);
        EXPECT_EQ(sim.wait_exit(3000), 0);
        struct stat st {};
        EXPECT_NE(lstat(link.c_str(), &st), 0);
    }
    // A record line longer than the reader can keep.
    const std::string long_records = dir + "/long.txt";
    std::ofstream(long_records) << "ok\n" << std::string(252, 'x') << "\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"source", "--pause", "3"},
             {"lookup", "--memory"},
             {"reader"},
             {"source", "--size", "252"},
             {"source", "--records", long_records},
             {"echo", "--device", dir + "/no-such-tty"},
             {"lookup", "--transcript", dir + "/no-such-dir/wire.txt"}}) {
        SCOPED_TRACE(args.empty() ? "" : args.back());
        Simulator sim(args);
        EXPECT_EQ(sim.wait_exit(3000), 2);
        EXPECT_NE(sim.error_text().find("velmora-sim: "), std::string::npos);
    }
    Simulator version({"--version"});
    EXPECT_EQ(version.first_line().rfind("velmora-sim ", 0), 0u);
    EXPECT_EQ(version.wait_exit(3000), 0);
    unlink(long_records.c_str());
    rmdir(dir.c_str());
}

}  // namespace
