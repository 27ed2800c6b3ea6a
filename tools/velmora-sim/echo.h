// A far end that sends every byte straight back, for round trips through a serial line.
#pragma once

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/outbox.h"
#include "tools/velmora-sim/transcript.h"

namespace sim {

class Echo : public simline::LinePeer {
  public:
    explicit Echo(std::uint32_t delay_ms = 0) : delay_ms_(delay_ms) {}

    void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) override {
        advance_to(now);
        transcript_.add(Direction::to_terminal, now, data, n);
        outbox_.schedule(now + delay_ms_, Bytes(data, data + n));
        advance_to(now);
    }
    void advance_to(std::uint64_t now) override { outbox_.advance_to(now); }
    std::optional<std::uint64_t> next_event_time() const override { return outbox_.next_time(); }
    std::size_t available() const override { return outbox_.available(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n) override {
        return outbox_.take(buffer, n);
    }
    bool quiet() const { return outbox_.empty(); }
    Transcript& transcript() { return transcript_; }

  private:
    std::uint32_t delay_ms_;
    Transcript transcript_;
    Outbox outbox_{transcript_};
};

}  // namespace sim
