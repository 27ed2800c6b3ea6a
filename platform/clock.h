// Millisecond tick counter and local calendar time, real or virtual.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Wraps at 2^32 like the Windows tick count: compare elapsed times with unsigned subtraction.
    virtual std::uint32_t tick_ms() = 0;
    virtual LocalTime local_time() = 0;
    // Blocks the caller; used where a program must pause without a line to wait on.
    virtual void sleep_ms(std::uint32_t ms) = 0;
};

inline std::uint32_t elapsed_since(Clock& clock, std::uint32_t start) {
    return clock.tick_ms() - start;
}

std::unique_ptr<Clock> make_system_clock();

}  // namespace platform
