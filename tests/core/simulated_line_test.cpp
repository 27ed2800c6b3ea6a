// The simulated line keeps protocol time exact: waits end at the byte or at the limit.
#include "tools/simulated-line/simulated_line.h"

#include <gtest/gtest.h>

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

}  // namespace
