// The Windows clock: millisecond steps (not GetTickCount's 16 ms) that keep pace with real time.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "platform/clock.h"

namespace {

TEST(Win32Clock, TicksMoveInSingleMilliseconds) {
    auto clock = platform::make_system_clock();
    std::set<std::uint32_t> steps;
    std::uint32_t last = clock->tick_ms();
    for (int changes = 0; changes < 20;) {
        const std::uint32_t now = clock->tick_ms();
        if (now != last) {
            steps.insert(now - last);
            last = now;
            ++changes;
        }
    }
    // A 16 ms counter would never show a step of 1 or 2 ms.
    EXPECT_LE(*steps.begin(), 2u);
}

TEST(Win32Clock, SleepAndTicksAgree) {
    auto clock = platform::make_system_clock();
    const std::uint32_t start = clock->tick_ms();
    clock->sleep_ms(120);
    const std::uint32_t elapsed = platform::elapsed_since(*clock, start);
    EXPECT_GE(elapsed, 119u);
    EXPECT_LT(elapsed, 200u);
}

TEST(Win32Clock, LocalTimeIsTheSystemsLocalTime) {
    auto clock = platform::make_system_clock();
    SYSTEMTIME before;
    GetLocalTime(&before);
    const platform::LocalTime t = clock->local_time();
    EXPECT_EQ(t.year, before.wYear);
    EXPECT_EQ(t.month, before.wMonth);
    EXPECT_GE(t.day, 1);
    EXPECT_LE(t.day, 31);
    EXPECT_LT(t.hour, 24);
    EXPECT_LT(t.minute, 60);
    EXPECT_LT(t.second, 60);
    const int seconds_before = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
    const int seconds = t.hour * 3600 + t.minute * 60 + t.second;
    EXPECT_LE(seconds - seconds_before, 1);
    EXPECT_GE(seconds - seconds_before, 0);
}

}  // namespace
