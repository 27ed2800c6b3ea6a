// The counter box: where it goes, how wide it is, and that the screen is put back exactly once.
#include <gtest/gtest.h>

#include "reader/reader.h"
#include "reader/win32/counter_box.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/virtual_clock.h"

namespace {

using Calls = std::vector<std::string>;

struct CounterRig {
    simline::VirtualClock clock;
    testing_support::ScriptedPeer peer;  // the counter never touches the line
    simline::SimulatedPorts ports{clock, peer};
    testing_support::RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    Calls& calls() { return ui.screen.calls; }
    // One transfer's counter: started, shown at each count, finished.
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
    EXPECT_EQ(rig.calls(), testing_support::first_counter_calls({1, 2}));
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
    EXPECT_EQ(rig.calls(), testing_support::first_counter_calls());
}

TEST(ReaderCounter, LargestCountFitsTheText) {
    CounterRig rig;
    rig.ui.counter.start();
    rig.ui.counter.show(-2147483647 - 1);
    EXPECT_EQ(rig.ui.counter.overlay().counter_text, "Počet přijatých záznamů: -2147483648");
}

}  // namespace

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
