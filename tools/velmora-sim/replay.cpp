// The replay's turns: the program's recorded bytes are awaited and compared byte by byte, the
// terminal's are sent after their gap; a burst boundary on the program's side carries no meaning.
#include "tools/velmora-sim/replay.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::size_t kContextLines = 3;

}  // namespace

Replay::Replay(ReplayConfig config) : config_(std::move(config)) {
    start_turn(0);
}

bool Replay::program_turn() const {
    return trace()[position_].burst.direction == Direction::to_terminal;
}

// A run's first burst has no gap: the recording started its clock again.
std::uint64_t Replay::recorded_gap(std::size_t index) const {
    if (index == 0 || trace()[index].run != trace()[index - 1].run) return 0;
    return trace()[index].burst.time - trace()[index - 1].burst.time;
}

void Replay::start_turn(std::uint64_t now) {
    offset_ = 0;
    seen_.clear();
    seen_since_ = now;
    if (position_ == trace().size()) return;
    const std::uint64_t gap = recorded_gap(position_);
    const bool run_start = position_ == 0 || trace()[position_].run != trace()[position_ - 1].run;
    if (program_turn()) {
        due_ = now + (run_start ? config_.start_limit_ms : gap + config_.slack_ms);
    } else if (config_.timing == Timing::keep ||
               (config_.timing == Timing::over_threshold && gap > kGapThresholdMs)) {
        due_ = now + gap;
    } else {
        due_ = now;
    }
}

void Replay::advance_to(std::uint64_t now) {
    while (!failed() && position_ < trace().size()) {
        if (program_turn()) {
            if (now > due_) {
                fail(": the program sent nothing more within " +
                         std::to_string(due_ - seen_since_) + " ms",
                     now);
            }
            break;
        }
        if (now < due_) break;
        const std::uint64_t at = due_;
        outbox_.schedule(at, trace()[position_].burst.bytes);
        ++position_;
        start_turn(at);
    }
    outbox_.advance_to(now);
}

std::optional<std::uint64_t> Replay::next_event_time() const {
    if (failed() || position_ == trace().size()) return outbox_.next_time();
    return program_turn() ? due_ + 1 : due_;
}

void Replay::on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) {
    advance_to(now);
    transcript_.add(Direction::to_terminal, now, data, n);
    for (std::size_t i = 0; i < n && !failed() && position_ < trace().size(); ++i) {
        if (seen_.empty()) seen_at_ = now;
        if (!program_turn()) {
            seen_.insert(seen_.end(), data + i, data + n);
            fail(": the program sent bytes where the terminal was to send next", now);
            break;
        }
        const Bytes& expected = trace()[position_].burst.bytes;
        seen_.push_back(data[i]);
        if (data[i] != expected[offset_]) {
            seen_.insert(seen_.end(), data + i + 1, data + n);
            fail(", byte " + std::to_string(offset_ + 1) +
                     ": the program sent other bytes than the trace holds",
                 now);
            break;
        }
        if (++offset_ == expected.size()) {
            ++position_;
            start_turn(now);
        }
    }
    advance_to(now);
}

void Replay::fail(const std::string& what, std::uint64_t now) {
    const TraceEntry& at = trace()[position_];
    std::string report = "line " + std::to_string(at.line_number) + what + "\n";
    const std::size_t first = position_ > kContextLines ? position_ - kContextLines : 0;
    if (first < position_) report += "before it:\n";
    for (std::size_t i = first; i < position_; ++i) report += trace()[i].text + "\n";
    report += "expected:\n" + at.text + "\nseen (replay's clock):\n";
    if (!seen_.empty()) {
        report += format_burst({Direction::to_terminal, seen_at_, seen_}) + "\n";
    }
    if (seen_.empty() || now > due_)
        report += "nothing more until " + std::to_string(now) + " ms\n";
    difference_ = report;
    outbox_.cancel_pending();
}

}  // namespace sim
