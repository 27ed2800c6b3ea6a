// Pseudo-terminal pairs for the serial line tests.
#include "tests/support/posix/pty_pair.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace test_support {
namespace {

void close_on_exec(int fd) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

void make_raw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return;
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
}

constexpr int kPumpStopCheckMs = 20;

}  // namespace

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && ::cfgetispeed(&a) == ::cfgetispeed(&b) &&
           ::cfgetospeed(&a) == ::cfgetospeed(&b) && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc);
}

PtyPair::PtyPair() {
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slave_path_ = name;
    close_on_exec(master_);
    close_on_exec(slave_);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    make_raw(slave_);
}

PtyPair::~PtyPair() {
    close_master();
    if (slave_ >= 0) ::close(slave_);
}

void PtyPair::set_slave_cooked() {
    termios t{};
    if (::tcgetattr(slave_, &t) != 0) return;
    t.c_iflag = ICRNL | IXON | IXANY | BRKINT | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS7 | PARENB | CREAD | HUPCL | CRTSCTS;
    t.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, B2400);
    ::cfsetospeed(&t, B2400);
    ::tcsetattr(slave_, TCSANOW, &t);
}

bool PtyPair::write_master(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        } else if (put < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        } else {
            pollfd watch{master_, POLLOUT, 0};
            ::poll(&watch, 1, 100);
        }
    }
    return true;
}

std::vector<std::uint8_t> PtyPair::read_master(std::size_t n, int limit_ms) {
    using std::chrono::steady_clock;
    const auto end = steady_clock::now() + std::chrono::milliseconds(limit_ms);
    std::vector<std::uint8_t> got;
    while (got.size() < n) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - steady_clock::now());
        if (left.count() <= 0) break;
        pollfd watch{master_, POLLIN, 0};
        if (::poll(&watch, 1, static_cast<int>(left.count())) <= 0) continue;
        std::uint8_t buffer[512];
        ssize_t r = ::read(master_, buffer, std::min(sizeof buffer, n - got.size()));
        if (r > 0) got.insert(got.end(), buffer, buffer + r);
        if (r < 0 && errno != EAGAIN && errno != EINTR) break;
    }
    return got;
}

void PtyPair::close_master() {
    if (master_ < 0) return;
    ::close(master_);
    master_ = -1;
}

RecordSourcePump::RecordSourcePump(PtyPair& pty, sim::SourceConfig config)
    : pty_(pty), source_(std::move(config)), thread_([this] { run(); }) {}

RecordSourcePump::~RecordSourcePump() {
    stop();
}

void RecordSourcePump::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void RecordSourcePump::run() {
    const auto start = std::chrono::steady_clock::now();
    auto now_ms = [start] {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - start)
                                              .count());
    };
    std::uint8_t buffer[512];
    while (!stopping_) {
        const std::uint64_t now = now_ms();
        source_.advance_to(now);
        while (source_.available() > 0) {
            const std::size_t n = source_.take(buffer, sizeof buffer);
            pty_.write_master(std::vector<std::uint8_t>(buffer, buffer + n));
        }
        int wait = kPumpStopCheckMs;
        if (auto next = source_.next_event_time()) {
            wait = static_cast<int>(std::min<std::uint64_t>(*next > now ? *next - now : 0, wait));
        }
        pollfd watch{pty_.master(), POLLIN, 0};
        if (::poll(&watch, 1, wait) > 0 && (watch.revents & POLLIN)) {
            const ssize_t r = ::read(pty_.master(), buffer, sizeof buffer);
            if (r > 0) source_.on_receive(buffer, static_cast<std::size_t>(r), now_ms());
        }
    }
}

}  // namespace test_support
