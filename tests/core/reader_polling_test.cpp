// Online polling timing on the virtual clock: first transfer after a period, period from each end.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "reader/polling.h"
#include "tools/simulated-line/virtual_clock.h"

namespace ravelo {
namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

// A user who presses Esc at a given moment; a key pressed during a transfer waits in the queue.
class KeyAt : public PollWaiter {
  public:
    KeyAt(simline::VirtualClock& clock, std::uint64_t at) : clock_(clock), at_(at) {}
    bool wait_for_stop(std::uint32_t limit_ms) override {
        waits.push_back(limit_ms);
        std::uint64_t end = clock_.now() + limit_ms;
        if (at_ <= end) {
            clock_.advance_to(at_);
            return true;
        }
        clock_.advance_to(end);
        return false;
    }
    std::vector<std::uint32_t> waits;

  private:
    simline::VirtualClock& clock_;
    std::uint64_t at_;
};

struct ScriptedTransfers {
    struct Step {
        std::uint32_t duration_ms;
        int result;
    };
    simline::VirtualClock& clock;
    std::vector<Step> steps;
    std::vector<std::uint64_t> starts;

    int operator()() {
        const Step& step = steps.at(starts.size());
        starts.push_back(clock.now());
        clock.sleep_ms(step.duration_ms);
        return step.result;
    }
};

TEST(Polling, PeriodRunsFromTheEndOfEachTransferAndNegativeStops) {
    simline::VirtualClock clock(5000);
    ReaderSettings s;  // poll_interval 2
    KeyAt user(clock, kNever);
    ScriptedTransfers t{clock, {{700, 3}, {1300, 0}, {50, -1}}, {}};
    EXPECT_EQ(run_polling(s, user, std::ref(t)), PollingEnd::closed);
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{7000, 9700, 13000}));
    EXPECT_EQ(clock.now(), 13050u);  // closed at once, no further wait
}

TEST(Polling, NothingReceivedGoesOnUntilTheUserStops) {
    simline::VirtualClock clock;
    ReaderSettings s;
    s.poll_interval = 3;
    KeyAt user(clock, 14500);
    ScriptedTransfers t{clock, std::vector<ScriptedTransfers::Step>(10, {500, 0}), {}};
    run_polling(s, user, std::ref(t));
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{3000, 6500, 10000, 13500}));
    EXPECT_EQ(clock.now(), 14500u);
}

TEST(Polling, StopDuringATransferTakesEffectAfterIt) {
    simline::VirtualClock clock;
    ReaderSettings s;
    KeyAt user(clock, 2100);
    ScriptedTransfers t{clock, {{900, 4}, {900, 4}}, {}};
    run_polling(s, user, std::ref(t));
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{2000}));
    EXPECT_EQ(clock.now(), 2900u);
}

TEST(Polling, StopBeforeTheFirstPeriodRunsNoTransfer) {
    simline::VirtualClock clock;
    ReaderSettings s;
    KeyAt user(clock, 1999);
    ScriptedTransfers t{clock, {}, {}};
    run_polling(s, user, std::ref(t));
    EXPECT_TRUE(t.starts.empty());
}

TEST(Polling, PeriodIsTheIntervalInMilliseconds) {
    ReaderSettings s;
    const std::pair<int, std::uint32_t> cases[] = {{1, 1000}, {2, 2000}, {9999, 9999000}};
    for (auto [seconds, ms] : cases) {
        s.poll_interval = seconds;
        EXPECT_EQ(poll_period_ms(s), ms);
    }
}

TEST(Polling, StartsMinimisedOnlyWithoutErrorMessages) {
    ReaderSettings s;
    s.show_errors = 0;
    EXPECT_TRUE(polling_starts_minimised(s));
    s.show_errors = 1;
    EXPECT_FALSE(polling_starts_minimised(s));
}

}  // namespace
}  // namespace ravelo
