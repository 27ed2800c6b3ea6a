// The real-time pump between a pseudo-terminal's master and the record source.
#include "tests/support/posix/record_source_pump.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace test_support {

namespace {

constexpr int kStopCheckMs = 20;

}  // namespace

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
        int wait = kStopCheckMs;
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
