// Pacing by absolute-time sleeps with the finest timer slack, so each byte goes out on time.
#include "tests/bench/paced_line.h"

#include <poll.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

namespace bench {

std::int64_t now_ns() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

static void sleep_until(std::int64_t ns) {
    const timespec at{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
    }
}

PacedLine::PacedLine(int fd, std::uint32_t baud, std::size_t fifo_trigger)
    : fd_(fd), byte_ns_(10000000000LL / baud), fifo_trigger_(fifo_trigger) {
    ::prctl(PR_SET_TIMERSLACK, 1UL);
}

std::int64_t PacedLine::send(const Bytes& bytes, std::int64_t from) {
    const std::int64_t start = std::max({now_ns(), from, out_free_});
    const std::size_t size = bytes.size();
    const std::int64_t end = start + static_cast<std::int64_t>(size) * byte_ns_;
    std::size_t sent = 0;
    while (sent < size) {
        std::size_t upto = fifo_trigger_ > 0 ? std::min(sent + fifo_trigger_, size) : sent + 1;
        std::int64_t due = start + static_cast<std::int64_t>(upto) * byte_ns_;
        // The FIFO's last bytes, short of the trigger, go after its character time-out.
        if (fifo_trigger_ > 0 && sent + fifo_trigger_ > size) due = end + 4 * byte_ns_;
        sleep_until(due);
        if (fifo_trigger_ == 0) {
            // Everything due by now goes in one write, as a UART's receive FIFO would hand it on.
            const std::size_t now_due = static_cast<std::size_t>((now_ns() - start) / byte_ns_);
            upto = std::min(std::max(now_due, upto), size);
        }
        const ssize_t put = ::write(fd_, bytes.data() + sent, upto - sent);
        if (put <= 0) break;
        sent += static_cast<std::size_t>(put);
    }
    out_free_ = end;
    return now_ns();
}

Message PacedLine::receive(int limit_ms) {
    const std::int64_t deadline = now_ns() + std::int64_t{limit_ms} * 1000000;
    for (;;) {
        const auto cr = std::find(pending_.begin(), pending_.end(), std::uint8_t{0x0D});
        if (cr != pending_.end()) {
            Message m{Bytes(pending_.begin(), cr + 1), pending_since_, 0};
            pending_.erase(pending_.begin(), cr + 1);
            pending_since_ = now_ns();
            const std::int64_t begin = std::max(m.first, in_free_);
            m.crossed = in_free_ = begin + static_cast<std::int64_t>(m.bytes.size()) * byte_ns_;
            return m;
        }
        const std::int64_t left = deadline - now_ns();
        if (left <= 0) return {{}, 0, 0};
        pollfd watch{fd_, POLLIN, 0};
        if (::poll(&watch, 1, static_cast<int>(left / 1000000) + 1) <= 0) continue;
        const std::int64_t arrived = now_ns();
        std::uint8_t chunk[512];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got <= 0) continue;
        if (pending_.empty()) pending_since_ = arrived;
        pending_.insert(pending_.end(), chunk, chunk + got);
    }
}

}  // namespace bench
