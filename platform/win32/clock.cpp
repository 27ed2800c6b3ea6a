// The system clock on Windows: millisecond ticks from the performance counter, local time.
#include "platform/clock.h"

#include <windows.h>

namespace platform {
namespace {

class SystemClock : public Clock {
  public:
    SystemClock() { QueryPerformanceFrequency(&frequency_); }

    // GetTickCount moves in 16 ms steps, too coarse for the protocol's 300 ms limits.
    std::uint32_t tick_ms() override {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const auto count = static_cast<unsigned long long>(now.QuadPart);
        const auto per_second = static_cast<unsigned long long>(frequency_.QuadPart);
        // Split so the multiplication cannot overflow after long uptimes.
        const unsigned long long ms =
            (count / per_second) * 1000ULL + (count % per_second) * 1000ULL / per_second;
        return static_cast<std::uint32_t>(ms);
    }

    LocalTime local_time() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }

    void sleep_ms(std::uint32_t ms) override { Sleep(ms); }

  private:
    LARGE_INTEGER frequency_{};
};

}  // namespace

std::unique_ptr<Clock> make_system_clock() {
    return std::make_unique<SystemClock>();
}

}  // namespace platform
