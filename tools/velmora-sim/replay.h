// Plays the terminal's side of a recorded trace: waits for the program's bytes as recorded, sends
// the terminal's bursts after their gaps, and stops at the first difference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/outbox.h"
#include "tools/velmora-sim/trace_file.h"
#include "tools/velmora-sim/transcript.h"

namespace sim {

// keep: every recorded gap; fast: none; over_threshold: only gaps longer than kGapThresholdMs,
// so that the program's own time-outs still happen while the rest plays at once.
enum class Timing { over_threshold, keep, fast };

constexpr std::uint32_t kGapThresholdMs = 100;

struct ReplayConfig {
    Trace trace;
    Timing timing = Timing::over_threshold;
    // The program's bytes may come this much later than recorded before the replay gives up.
    std::uint32_t slack_ms = 2000;
    // The first bytes of each run wait for the program to be started.
    std::uint32_t start_limit_ms = 120'000;
};

class Replay : public simline::LinePeer {
  public:
    explicit Replay(ReplayConfig config);

    void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) override;
    void advance_to(std::uint64_t now) override;
    std::optional<std::uint64_t> next_event_time() const override;
    std::size_t available() const override { return outbox_.available(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n) override {
        return outbox_.take(buffer, n);
    }

    bool done() const { return position_ == trace().size() && outbox_.empty(); }
    bool failed() const { return !difference_.empty(); }
    // The first difference: where in the trace, the lines before it, expected and seen bytes.
    const std::string& difference() const { return difference_; }
    std::size_t runs() const { return trace().empty() ? 0 : trace().back().run + 1; }
    Transcript& transcript() { return transcript_; }

  private:
    const Trace& trace() const { return config_.trace; }
    bool program_turn() const;
    std::uint64_t recorded_gap(std::size_t index) const;
    void start_turn(std::uint64_t now);
    void take_byte(std::uint8_t byte, std::uint64_t now);
    // `what` follows the line number: ": ..." or ", byte N: ...".
    void fail(const std::string& what, std::uint64_t now);

    ReplayConfig config_;
    Transcript transcript_;
    Outbox outbox_{transcript_};
    std::size_t position_ = 0;        // the trace entry whose turn it is
    std::size_t offset_ = 0;          // bytes of it the program has sent so far
    std::uint64_t due_ = 0;           // the terminal's burst goes, or the program's is late
    std::vector<std::uint8_t> seen_;  // what the program sent for the current entry
    std::uint64_t seen_since_ = 0;    // when the current entry's turn began
    std::uint64_t seen_at_ = 0;       // when its first byte came
    std::string difference_;
};

}  // namespace sim
