// A time limit on the millisecond tick counter for one awaited answer, and the sleep until it.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/serial.h"

namespace common {

class AnswerDeadline {
  public:
    AnswerDeadline(platform::Clock& clock, std::uint32_t limit_ms)
        : clock_(clock), start_(clock.tick_ms()), limit_ms_(limit_ms) {}

    // Unsigned subtraction, so the tick counter's wrap does not matter.
    std::uint32_t elapsed() const { return clock_.tick_ms() - start_; }
    // The limit has been reached (elapsed >= limit).
    bool reached() const { return elapsed() >= limit_ms_; }
    // The counter has gone past the deadline (elapsed > limit).
    bool passed() const { return elapsed() > limit_ms_; }

    // Both sleep in the line's wait until a byte comes or the limit is reached (or passed): a
    // waiting program uses no processor time, and the limit still holds to the millisecond.
    // True when a byte is there. Each pairs with the check of the same name above.
    bool wait_until_reached(platform::SerialLine& line) const {
        return wait_until(line, limit_ms_);
    }
    bool wait_until_passed(platform::SerialLine& line) const {
        return wait_until(line, limit_ms_ + 1);
    }

  private:
    platform::Clock& clock_;
    std::uint32_t start_;
    std::uint32_t limit_ms_;

    bool wait_until(platform::SerialLine& line, std::uint32_t end) const {
        const std::uint32_t now = elapsed();
        if (now >= end) return false;
        return line.wait_for_input(end - now);
    }
};

}  // namespace common
