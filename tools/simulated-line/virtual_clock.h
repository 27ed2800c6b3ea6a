// A clock that moves only when told to: protocol tests run in microseconds, exact to the ms.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace simline {

using platform::Clock;
using platform::LocalTime;

class VirtualClock : public Clock {
  public:
    explicit VirtualClock(std::uint64_t start_ms = 0) : now_(start_ms) {}

    std::uint32_t tick_ms() override { return static_cast<std::uint32_t>(now_); }
    LocalTime local_time() override { return local_time_; }
    void sleep_ms(std::uint32_t ms) override { now_ += ms; }

    std::uint64_t now() const { return now_; }
    void advance_to(std::uint64_t ms) {
        if (ms > now_) now_ = ms;
    }
    void set_local_time(const LocalTime& time) { local_time_ = time; }

  private:
    std::uint64_t now_;
    LocalTime local_time_{2007, 3, 6, 9, 17, 0};
};

}  // namespace simline
