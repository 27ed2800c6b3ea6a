// The simulated line: bytes cross at once, time passes only in waits.
#include "tools/simulated-line/simulated_line.h"

#include <algorithm>

namespace simline {

SimulatedLine::SimulatedLine(VirtualClock& clock, LinePeer& peer, const LineSettings& settings,
                             std::shared_ptr<std::vector<LineEvent>> log,
                             std::function<void()> on_close)
    : clock_(clock),
      peer_(peer),
      opened_at_(clock.now()),
      last_poll_at_(clock.now()),
      settings_(settings),
      log_(log ? std::move(log) : std::make_shared<std::vector<LineEvent>>()),
      on_close_(std::move(on_close)) {}

SimulatedLine::~SimulatedLine() {
    if (on_close_) on_close_();
}

std::size_t SimulatedLine::read(std::uint8_t* buffer, std::size_t n) {
    if (failed()) {
        check_progress(false);
        return 0;
    }
    peer_.advance_to(clock_.now());
    std::size_t got = peer_.take(buffer, n);
    check_progress(got > 0);
    if (got > 0) {
        auto& log = *log_;
        if (!log.empty() && log.back().kind == LineEvent::read && log.back().time == clock_.now()) {
            log.back().bytes.insert(log.back().bytes.end(), buffer, buffer + got);
        } else {
            log.push_back({LineEvent::read, clock_.now(), {buffer, buffer + got}});
        }
    }
    return got;
}

std::size_t SimulatedLine::write(const std::uint8_t* data, std::size_t n) {
    if (failed()) {
        check_progress(false);
        return 0;
    }
    if (writes_before_pull_) --*writes_before_pull_;
    std::size_t sent = n;
    if (write_budget_) {
        sent = std::min(n, *write_budget_);
        *write_budget_ -= sent;
    }
    check_progress(sent > 0);
    log_->push_back({LineEvent::written, clock_.now(), {data, data + sent}});
    peer_.on_receive(data, sent, clock_.now());
    return sent;
}

bool SimulatedLine::wait_for_input(std::uint32_t limit_ms) {
    const std::uint64_t deadline = clock_.now() + limit_ms;
    check_progress(false);
    if (failed()) return false;
    for (;;) {
        peer_.advance_to(clock_.now());
        if (peer_.available() > 0) return true;
        if (clock_.now() >= deadline) return false;
        const auto next = peer_.next_event_time();
        // A peer that names a time already past still moves the clock on, so a wait always ends.
        const std::uint64_t target =
            !next || *next > deadline ? deadline : std::max(*next, clock_.now() + 1);
        clock_.advance_to(target);
    }
}

void SimulatedLine::check_progress(bool moved) {
    const std::uint64_t now = clock_.now();
    idle_polls_ = moved || now != last_poll_at_ ? 0 : idle_polls_ + 1;
    last_poll_at_ = now;
    if (idle_polls_ > cap_.idle_polls) {
        throw NoProgress("simulated line: " + std::to_string(idle_polls_) + " polls in a row at " +
                         std::to_string(now) + " ms moved neither the clock nor a byte");
    }
    if (now - opened_at_ > cap_.virtual_ms) {
        throw NoProgress("simulated line: still in use " + std::to_string(now - opened_at_) +
                         " ms of virtual time after it was opened");
    }
}

void SimulatedLine::discard_input() {
    peer_.advance_to(clock_.now());
    std::uint8_t sink[64];
    while (peer_.take(sink, sizeof sink) > 0) {
    }
}

OpenedLine SimulatedPorts::open(unsigned port_number, const LineSettings& settings) {
    const std::string port_name = "COM" + std::to_string(port_number);
    opened_.push_back(port_name);
    OpenedLine opened;
    if (port_name != available_port_ || current_ != nullptr) {
        opened.error = current_ ? OpenError::busy : OpenError::cannot_open;
        return opened;
    }
    auto line = std::make_unique<SimulatedLine>(clock_, peer_, settings, history_,
                                                [this] { current_ = nullptr; });
    current_ = line.get();
    if (refuse_configuration_ || settings.baud == 0) {
        opened.error = OpenError::refused;
        opened.reason = "speed";
        return opened;
    }
    line->set_progress_cap(cap_);
    if (writes_before_pull_) line->pull_out_after_writes(*writes_before_pull_);
    opened.error = OpenError::none;
    opened.line = std::move(line);
    return opened;
}

}  // namespace simline
