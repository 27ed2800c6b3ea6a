// The read time-outs the Windows line sets for a poll and for a wait with a limit.
#include <gtest/gtest.h>

#include "platform/win32/read_timeouts.h"

namespace {

using platform::ReadTimeouts;

TEST(PlatformReadTimeouts, WaitUsesThePlainTotalInPowerOfTwoSlicesAndAZeroLimitPolls) {
    const ReadTimeouts poll{0xFFFFFFFFu, 0, 0};
    const struct {
        std::uint32_t limit_ms;
        ReadTimeouts expected;
    } cases[] = {
        {0, poll},  // (0, 0, 0) would wait for ever
        {1, {0, 0, 1}},
        {3, {0, 0, 2}},
        {256, {0, 0, 256}},
        {300, {0, 0, 256}},  // never longer than the limit
        {3000, {0, 0, 2048}},
        {200000, {0, 0, 65536}},  // 100-ns units of a longer one overflow 32 bits in a driver
        {0xFFFFFFFEu, {0, 0, 65536}},
    };
    EXPECT_EQ(platform::polling_read_timeouts(), poll);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit_ms);
        EXPECT_EQ(platform::waiting_read_timeouts(c.limit_ms), c.expected);
    }
}

}  // namespace
