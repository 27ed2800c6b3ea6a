// The system clock on POSIX: a monotonic millisecond tick that wraps at 32 bits, and local time.
#include "platform/clock.h"

#include <errno.h>
#include <time.h>

namespace platform {
namespace {

class SystemClock : public Clock {
  public:
    std::uint32_t tick_ms() override {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);
    }

    LocalTime local_time() override {
        time_t now = ::time(nullptr);
        tm parts{};
        ::localtime_r(&now, &parts);
        LocalTime result;
        result.year = parts.tm_year + 1900;
        result.month = parts.tm_mon + 1;
        result.day = parts.tm_mday;
        result.hour = parts.tm_hour;
        result.minute = parts.tm_min;
        result.second = parts.tm_sec;
        return result;
    }

    void sleep_ms(std::uint32_t ms) override {
        timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
};

}  // namespace

std::unique_ptr<Clock> make_system_clock() {
    return std::make_unique<SystemClock>();
}

}  // namespace platform
