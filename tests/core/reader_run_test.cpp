// One reader run against the simulated terminal (what is left on disk, what the user is shown),
// the online polling's timing, and the counter box the transfer draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "reader/polling.h"
#include "reader/run_reader.h"
#include "reader/settings_file.h"
#include "reader/win32/counter_box.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/receive_rig.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/record_source.h"

namespace {

using namespace testing_support;

sim::Records records(std::initializer_list<const char*> lines) {
    sim::Records out;
    for (const char* line : lines) out.push_back(sim::to_bytes(line));
    return out;
}

TEST(ReaderRun, StoresTheBatchAndOffersToShowItWhenAsked) {
    const ShownMessage offer{"Příjem dat", "Hotovo : 3 záznamů přijato.\nZobrazit přijatá data?",
                             true};
    const struct {
        const char* name;
        int show_received;
        bool answer;
        std::vector<ShownMessage> messages;
        bool viewed;
    } cases[] = {{"yes shows the file", 1, true, {offer}, true},
                 {"no shows nothing", 1, false, {offer}, false},
                 {"silent runs ask nothing", 0, true, {}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRig rig(one_batch(records({"alpha", "beta", "gamma"})));
        rig.reader.settings.show_received = c.show_received;
        rig.ui.answers = {c.answer};
        EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
        EXPECT_EQ(read_bytes(rig.output()), "alpha\r\nbeta\r\ngamma\r\n");
        EXPECT_EQ(rig.ui.messages, c.messages);
        EXPECT_EQ(rig.ui.viewed,
                  c.viewed ? std::vector<std::string>{rig.output()} : std::vector<std::string>{});
        EXPECT_EQ(rig.ports.current_line(), nullptr) << "the port is closed after the transfer";
    }
}

TEST(ReaderRun, AnEmptyBatchLeavesNoFileExceptInAppendMode) {
    TerminalRig overwrite(one_batch({}));
    overwrite.reader.settings.show_received = 1;
    write_bytes(overwrite.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(overwrite.reader), 0);
    EXPECT_FALSE(platform::file_exists(overwrite.output()));
    EXPECT_EQ(overwrite.ui.messages,
              (std::vector<ShownMessage>{{"Příjem dat", "žádná data nepřijata!", false}}));

    TerminalRig append(one_batch({}));
    append.reader.settings.file_mode = ravelo::kAppend;
    write_bytes(append.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(append.reader), 0);
    EXPECT_EQ(read_bytes(append.output()), "old\r\n");
}

TEST(ReaderRun, ATransferThatFailsAfterStoringRecordsKeepsThem) {
    sim::SourceConfig config = one_batch(records({"one", "two", "three", "four", "five"}));
    config.faults.silent_from = 3;
    TerminalRig rig(config);
    rig.reader.settings.show_received = 1;
    rig.reader.output_path = rig.output();
    EXPECT_EQ(ravelo::run_transfer(rig.reader), -1);
    EXPECT_EQ(read_bytes(rig.output()), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(rig.terminal.acknowledged().size(), 3u);
    // The failure was reported where it happened; no result message follows it.
    EXPECT_EQ(rig.ui.messages, reader_error("Čas vypršel!"));
}

TEST(ReaderRun, ATransferThatFailsBeforeTheFirstRecordLeavesNoFile) {
    sim::SourceConfig config = one_batch(records({"one"}));
    config.faults.silent_from = 0;
    TerminalRig rig(config);
    rig.reader.settings.show_errors = 0;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0) << "a failed transfer is no success";
    EXPECT_FALSE(platform::file_exists(rig.output()));
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(ReaderRun, AMissingPortEndsBeforeAnyFileIsTouched) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.ports.set_available_port("COM2");
    rig.reader.settings.show_received = 1;
    write_bytes(rig.output(), "old\r\n");
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0);
    EXPECT_EQ(read_bytes(rig.output()), "old\r\n");
    // The port's own message only: no transfer took place to report on.
    EXPECT_EQ(rig.ui.messages, reader_error("Nepodařilo se otevřít COM port"));
}

TEST(ReaderRun, CancellingTheDialogTouchesNeitherSettingsNorPort) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    rig.ui.properties_result = common::DialogEnd::cancelled;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 0);
    EXPECT_EQ(rig.ui.properties_runs, 1);
    EXPECT_TRUE(rig.ports.opened_ports().empty());
    EXPECT_FALSE(platform::file_exists(rig.reader.settings_path));
}

TEST(ReaderRun, OkInTheDialogSavesTheSettingsBeforeTheTransfer) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    bool saved_before_transfer = false;
    rig.ui.on_properties = [&](ravelo::Reader& reader) {
        reader.settings.file_name = "CHOSEN.TXT";
        reader.output_path = rig.temp.file("CHOSEN.TXT");
        return common::DialogEnd::ok;
    };
    rig.ui.on_polling = [&](ravelo::Reader& reader) {
        saved_before_transfer = platform::file_exists(reader.settings_path);
        return ravelo::PollingEnd::closed;
    };
    EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
    EXPECT_EQ(read_bytes(rig.temp.file("CHOSEN.TXT")), "one\r\n");
    std::string saved;
    ASSERT_TRUE(platform::read_whole_file(rig.reader.settings_path, &saved));
    EXPECT_NE(saved.find("CHOSEN.TXT"), std::string::npos);

    TerminalRig online(one_batch({}));
    online.reader.settings.always_ask = 1;
    online.reader.settings.online = 1;
    online.ui.properties_result = common::DialogEnd::ok;
    online.ui.on_polling = rig.ui.on_polling;
    EXPECT_EQ(ravelo::run_reader(online.reader), 0) << "the polling window ends with 2";
    EXPECT_TRUE(saved_before_transfer);
}

TEST(ReaderRun, TheCommandLineWinsOverAlwaysAsk) {
    TerminalRig rig(one_batch(records({"one"})));
    rig.reader.settings.always_ask = 1;
    rig.reader.command_line_mode = true;
    EXPECT_EQ(ravelo::run_reader(rig.reader), 1);
    EXPECT_EQ(rig.ui.properties_runs, 0);
    EXPECT_EQ(rig.reader.output_path, rig.output());
    EXPECT_FALSE(platform::file_exists(rig.reader.settings_path)) << "nothing is saved";
}

// Online polling timing on the virtual clock: first transfer after a period, period from each end.
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

// A user who presses Esc at a given moment; a key pressed during a transfer waits in the queue.
class KeyAt : public ravelo::PollWaiter {
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
    ravelo::ReaderSettings s;  // poll_interval 2
    KeyAt user(clock, kNever);
    ScriptedTransfers t{clock, {{700, 3}, {1300, 0}, {50, -1}}, {}};
    EXPECT_EQ(ravelo::run_polling(s, user, std::ref(t)), ravelo::PollingEnd::closed);
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{7000, 9700, 13000}));
    EXPECT_EQ(clock.now(), 13050u);  // closed at once, no further wait
}

TEST(Polling, NothingReceivedGoesOnUntilTheUserStops) {
    simline::VirtualClock clock;
    ravelo::ReaderSettings s;
    s.poll_interval = 3;
    KeyAt user(clock, 14500);
    ScriptedTransfers t{clock, std::vector<ScriptedTransfers::Step>(10, {500, 0}), {}};
    ravelo::run_polling(s, user, std::ref(t));
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{3000, 6500, 10000, 13500}));
    EXPECT_EQ(clock.now(), 14500u);
}

TEST(Polling, StopDuringATransferTakesEffectAfterIt) {
    simline::VirtualClock clock;
    ravelo::ReaderSettings s;
    KeyAt user(clock, 2100);
    ScriptedTransfers t{clock, {{900, 4}, {900, 4}}, {}};
    ravelo::run_polling(s, user, std::ref(t));
    EXPECT_EQ(t.starts, (std::vector<std::uint64_t>{2000}));
    EXPECT_EQ(clock.now(), 2900u);
}

TEST(Polling, StopBeforeTheFirstPeriodRunsNoTransfer) {
    simline::VirtualClock clock;
    ravelo::ReaderSettings s;
    KeyAt user(clock, 1999);
    ScriptedTransfers t{clock, {}, {}};
    ravelo::run_polling(s, user, std::ref(t));
    EXPECT_TRUE(t.starts.empty());
}

TEST(Polling, PeriodIsTheIntervalInMilliseconds) {
    ravelo::ReaderSettings s;
    const std::pair<int, std::uint32_t> cases[] = {{1, 1000}, {2, 2000}, {9999, 9999000}};
    for (auto [seconds, ms] : cases) {
        s.poll_interval = seconds;
        EXPECT_EQ(ravelo::poll_period_ms(s), ms);
    }
}

TEST(Polling, StartsMinimisedOnlyWithoutErrorMessages) {
    ravelo::ReaderSettings s;
    s.show_errors = 0;
    EXPECT_TRUE(ravelo::polling_starts_minimised(s));
    s.show_errors = 1;
    EXPECT_FALSE(ravelo::polling_starts_minimised(s));
}

// The counter box: where it goes, how wide it is, and that the screen is put back exactly once.
using Calls = std::vector<std::string>;

struct CounterRig : ReceiveRig {
    Calls& calls() { return ui.screen.calls; }
    void transfer(std::initializer_list<int> counts) {
        ui.counter.start();
        for (int count : counts) ui.counter.show(count);
        ui.counter.finish();
    }
};

TEST(ReaderCounter, FirstTransferMeasuresTheInitialTextWithItsBlanks) {
    CounterRig rig;
    rig.transfer({1, 2});
    // 30 characters of 7 pixels, plus 50: 260 wide, centred at (512, 374).
    EXPECT_EQ(rig.calls(), first_counter_calls({1, 2}));
}

TEST(ReaderCounter, NextTransferIsSizedByTheLastTextAndTheScreenOfTheMoment) {
    CounterRig rig;
    rig.transfer({123});
    rig.calls().clear();
    rig.ui.screen.width = 801;
    rig.ui.screen.height = 601;
    rig.transfer({1});
    // 28 characters: 246 wide; centre (400, 290).
    EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 123", "save 277,270,523,310",
                                  "paint 277,270,523,310 Počet přijatých záznamů: 1",
                                  "restore 277,270,523,310"}));
}

TEST(ReaderCounter, OddWidthPaintsOnePixelLessThanItSaves) {
    CounterRig rig;
    rig.ui.screen.char_width = 1;
    rig.transfer({10});
    rig.calls().clear();
    // 27 characters + 50 = 77 wide.
    rig.transfer({7});
    EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 10", "save 474,354,551,394",
                                  "paint 474,354,550,394 Počet přijatých záznamů: 7",
                                  "restore 474,354,551,394"}));
}

TEST(ReaderCounter, FinishWithoutACaptureDrawsNothing) {
    CounterRig rig;
    rig.ui.counter.finish();
    EXPECT_TRUE(rig.calls().empty());
    rig.ui.counter.start();
    rig.ui.counter.finish();
    rig.ui.counter.finish();
    EXPECT_EQ(rig.calls(), first_counter_calls());
}

TEST(ReaderCounter, LargestCountFitsTheText) {
    CounterRig rig;
    rig.ui.counter.start();
    rig.ui.counter.show(-2147483647 - 1);
    EXPECT_EQ(rig.ui.counter.overlay().counter_text, "Počet přijatých záznamů: -2147483648");
}

// At 125% or 150% the box is drawn in real pixels and repainted in the windows' scaled ones.
TEST(ReaderCounter, RealPixelsAreScaledOutwardsForTheWindows) {
    using ravelo::ScreenRect;
    const struct {
        int real_width, real_height, scaled_width, scaled_height;
        ScreenRect expected;
    } cases[] = {
        {1920, 1080, 1920, 1080, {835, 510, 1085, 550}},  // not scaled
        {1920, 1080, 1536, 864, {668, 408, 868, 440}},    // 125%
        {1920, 1080, 1280, 720, {556, 340, 724, 367}},    // 150%: rounded outwards
        {1920, 1080, 0, 0, {835, 510, 1085, 550}},        // size not known
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ravelo::scaled_to_windows({835, 510, 1085, 550}, c.real_width, c.real_height,
                                            c.scaled_width, c.scaled_height),
                  c.expected)
            << c.scaled_width;
    }
}

}  // namespace
