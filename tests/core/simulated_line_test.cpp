// The simulated line keeps protocol time exact: waits end at the byte or at the limit; the
// Windows line's read time-outs for a poll and for a wait with a limit.
#include "tools/simulated-line/simulated_line.h"

#include <gtest/gtest.h>

#include "platform/win32/read_timeouts.h"
#include "tests/support/scripted_peer.h"

namespace {

// Sends one byte at a fixed time, then nothing.
struct OneBytePeer : testing_support::ScriptedPeer {
    explicit OneBytePeer(std::uint64_t at) { send("x", at); }
};

TEST(SimulatedLine, ReadReturnsAtOnceWithNothingBuffered) {
    simline::VirtualClock clock(1000);
    OneBytePeer peer(5000);
    simline::SimulatedLine line(clock, peer);
    std::uint8_t b = 0;
    EXPECT_EQ(line.read(&b, 1), 0u);
    EXPECT_EQ(clock.now(), 1000u);
}

TEST(SimulatedLine, WaitEndsWhenTheByteArrivesOrAtItsLimit) {
    simline::VirtualClock clock(1000);
    OneBytePeer peer(1250);
    simline::SimulatedLine line(clock, peer);
    EXPECT_FALSE(line.wait_for_input(200));
    EXPECT_EQ(clock.now(), 1200u);
    EXPECT_TRUE(line.wait_for_input(300));
    EXPECT_EQ(clock.now(), 1250u);
    std::uint8_t b = 0;
    ASSERT_EQ(line.read(&b, 1), 1u);
    EXPECT_EQ(b, 'x');
}

TEST(SimulatedLine, AProgramLoopThatNeverEndsFailsTheTestInsteadOfHangingIt) {
    simline::VirtualClock clock(0);
    OneBytePeer peer(100);
    std::uint8_t b = 0;
    simline::SimulatedLine spinning(clock, peer);
    spinning.set_progress_cap({1000, 50});
    EXPECT_THROW(for (;;) spinning.read(&b, 1), simline::NoProgress);
    EXPECT_EQ(clock.now(), 0u);

    simline::SimulatedLine running_on(clock, peer);
    running_on.set_progress_cap({1000, 50});
    EXPECT_THROW(
        for (;;) {
            running_on.wait_for_input(10);
            running_on.read(&b, 1);
        },
        simline::NoProgress);
    EXPECT_EQ(clock.now(), 1010u);
}

TEST(SimulatedLine, TickCounterWrapsLikeWindows) {
    simline::VirtualClock clock(0xFFFFFF00u);
    const std::uint32_t start = clock.tick_ms();
    clock.advance_to(0x100000100ull);
    EXPECT_EQ(platform::elapsed_since(clock, start), 0x200u);
}

TEST(PlatformReadTimeouts, WaitUsesThePlainTotalInPowerOfTwoSlicesAndAZeroLimitPolls) {
    const platform::ReadTimeouts poll{0xFFFFFFFFu, 0, 0};
    const struct {
        std::uint32_t limit_ms;
        platform::ReadTimeouts expected;
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
