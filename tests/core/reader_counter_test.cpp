// The counter box: where it goes, how wide it is, and that the screen is put back exactly once.
#include <gtest/gtest.h>

#include "reader/counter.h"
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
};

TEST(ReaderCounter, FirstTransferMeasuresTheInitialTextWithItsBlanks) {
    CounterRig rig;
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 1);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 2);
    ravelo::draw_counter(rig.reader, ravelo::kCounterFinish, 0);
    // 30 characters of 7 pixels, plus 50: 260 wide, centred at (512, 374).
    EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 0    ", "save 382,354,642,394",
                                  "paint 382,354,642,394 Počet přijatých záznamů: 1",
                                  "paint 382,354,642,394 Počet přijatých záznamů: 2",
                                  "restore 382,354,642,394"}));
}

TEST(ReaderCounter, NextTransferIsSizedByTheLastTextAndTheScreenOfTheMoment) {
    CounterRig rig;
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 123);
    ravelo::draw_counter(rig.reader, ravelo::kCounterFinish, 0);
    rig.calls().clear();
    rig.ui.screen.width = 801;
    rig.ui.screen.height = 601;
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 1);
    ravelo::draw_counter(rig.reader, ravelo::kCounterFinish, 0);
    // 28 characters: 246 wide; centre (400, 290).
    EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 123", "save 277,270,523,310",
                                  "paint 277,270,523,310 Počet přijatých záznamů: 1",
                                  "restore 277,270,523,310"}));
}

TEST(ReaderCounter, OddWidthPaintsOnePixelLessThanItSaves) {
    CounterRig rig;
    rig.ui.screen.char_width = 1;
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 10);
    ravelo::draw_counter(rig.reader, ravelo::kCounterFinish, 0);
    rig.calls().clear();
    // 27 characters + 50 = 77 wide.
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, 7);
    ravelo::draw_counter(rig.reader, ravelo::kCounterFinish, 0);
    EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 10", "save 474,354,551,394",
                                  "paint 474,354,550,394 Počet přijatých záznamů: 7",
                                  "restore 474,354,551,394"}));
}

TEST(ReaderCounter, FinishWithoutACaptureDrawsNothing) {
    const int finish_modes[] = {ravelo::kCounterFinish, 3, -1};
    for (int mode : finish_modes) {
        SCOPED_TRACE(mode);
        CounterRig rig;
        ravelo::draw_counter(rig.reader, mode, 0);
        EXPECT_TRUE(rig.calls().empty());
        ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
        ravelo::draw_counter(rig.reader, mode, 0);
        ravelo::draw_counter(rig.reader, mode, 0);
        EXPECT_EQ(rig.calls(), (Calls{"measure Počet přijatých záznamů: 0    ",
                                      "save 382,354,642,394", "restore 382,354,642,394"}));
    }
}

TEST(ReaderCounter, LargestCountFitsTheText) {
    CounterRig rig;
    ravelo::draw_counter(rig.reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(rig.reader, ravelo::kCounterUpdate, -2147483647 - 1);
    EXPECT_EQ(rig.reader.counter.counter_text, "Počet přijatých záznamů: -2147483648");
}

}  // namespace
