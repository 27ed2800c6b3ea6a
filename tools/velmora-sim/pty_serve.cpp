// The real-time loop: poll the line until the peer's next own action, feed it, write its bytes.
#include "tools/velmora-sim/pty_serve.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace sim {

namespace {

volatile sig_atomic_t g_stop = 0;

void on_stop_signal(int) {
    g_stop = 1;
}

std::uint64_t now_ms(std::chrono::steady_clock::time_point start) {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
}

bool write_all(int fd, const std::uint8_t* data, std::size_t n) {
    while (n > 0 && !g_stop) {
        const ssize_t done = ::write(fd, data, n);
        if (done > 0) {
            data += done;
            n -= static_cast<std::size_t>(done);
        } else if (done < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 50);
        } else {
            return false;
        }
    }
    return true;
}

// Hands the line whatever the peer has made available by now.
bool flush_peer(int fd, simline::LinePeer& peer) {
    std::uint8_t buffer[512];
    while (peer.available() > 0) {
        const std::size_t n = peer.take(buffer, sizeof buffer);
        if (!write_all(fd, buffer, n)) return false;
    }
    return true;
}

int poll_timeout(const simline::LinePeer& peer, std::uint64_t now) {
    constexpr std::uint64_t kIdleMs = 100;  // also how soon a finished run notices
    const auto next = peer.next_event_time();
    if (!next) return static_cast<int>(kIdleMs);
    return static_cast<int>(std::min(kIdleMs, *next > now ? *next - now : 0));
}

}  // namespace

void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: poll() returns at once
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

bool serve(const ServedLine& line, simline::LinePeer& peer, const std::function<bool()>& finished) {
    const auto start = std::chrono::steady_clock::now();
    std::uint8_t buffer[512];
    while (!g_stop) {
        const std::uint64_t now = now_ms(start);
        peer.advance_to(now);
        if (!flush_peer(line.fd, peer)) return false;
        if (finished() && !peer.next_event_time()) {
            drain(line, 2000);
            return true;
        }
        pollfd p{line.fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, poll_timeout(peer, now));
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(line.fd, buffer, sizeof buffer);
            if (n > 0) {
                peer.on_receive(buffer, static_cast<std::size_t>(n), now_ms(start));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR && errno != EIO)) {
                return false;
            }
        } else if (p.revents & (POLLERR | POLLNVAL)) {
            return false;
        } else if (p.revents & POLLHUP) {
            // A pseudo-terminal reports a hang-up between programs only if no slave is open;
            // ours stays open, so this is a device that went away.
            if (line.slave_fd < 0) return false;
            ::poll(nullptr, 0, 10);
        }
    }
    return true;
}

}  // namespace sim
