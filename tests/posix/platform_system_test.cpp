// The POSIX clock, executable directory and port-name mapping.
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "gtest/gtest.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/posix/port_names.h"

namespace {

TEST(PlatformClock, TickFollowsRealTimeAndSleepLastsItsLength) {
    auto clock = platform::make_system_clock();
    auto wall_start = std::chrono::steady_clock::now();
    std::uint32_t start = clock->tick_ms();
    clock->sleep_ms(120);
    std::uint32_t ticked = platform::elapsed_since(*clock, start);
    auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - wall_start)
                    .count();
    EXPECT_GE(wall, 120);
    EXPECT_GE(ticked, 119u);  // the two clocks may split a millisecond differently
    EXPECT_LE(ticked, static_cast<std::uint32_t>(wall) + 1);
}

TEST(PlatformClock, LocalTimeIsTodaysCalendarDate) {
    auto clock = platform::make_system_clock();
    platform::LocalTime now = clock->local_time();
    time_t t = ::time(nullptr);
    tm parts{};
    ::localtime_r(&t, &parts);
    EXPECT_EQ(now.year, parts.tm_year + 1900);
    EXPECT_EQ(now.month, parts.tm_mon + 1);
    EXPECT_EQ(now.day, parts.tm_mday);
    EXPECT_GE(now.hour, 0);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.second, 60);
}

TEST(PlatformPaths, ExecutableDirectoryHoldsThisTestProgram) {
    std::string directory = platform::executable_directory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.front(), '/');
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(platform::join_path(directory, "Ravelo.ini"), directory + "Ravelo.ini");
    EXPECT_EQ(platform::join_path("/opt/velmora", "Ravelo.ini"), "/opt/velmora/Ravelo.ini");
}

TEST(PlatformPortNames, PortsMapToTheEnvironmentOrTheSerialDevices) {
    ::setenv("VELMORA_COM2", "/dev/pts/7", 1);
    ::unsetenv("VELMORA_COM1");
    ::unsetenv("VELMORA_COM10");
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},  {"COM2", "/dev/pts/7"}, {"COM9", "/dev/ttyS8"},
        {"COM10", "/dev/ttyS9"}, {"com3", "/dev/ttyS2"},
    };
    for (const auto& [name, device] : cases) {
        std::string found;
        EXPECT_TRUE(platform::device_for_port(name, &found)) << name;
        EXPECT_EQ(found, device) << name;
    }
    for (const char* name : {"COM0", "COM01", "COM-1", "COM1 ", "COM", "PRN", "COM99999"}) {
        std::string found;
        EXPECT_FALSE(platform::device_for_port(name, &found)) << name;
    }
    ::unsetenv("VELMORA_COM2");
}

}  // namespace
