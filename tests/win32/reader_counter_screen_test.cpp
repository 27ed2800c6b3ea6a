// The counter box on the real screen: its colours and outline, and the screen put back after.
#include <gtest/gtest.h>
#include <windows.h>

#include "reader/reader.h"
#include "reader/win32/gdi_counter_screen.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tests/win32/gdi_canvas.h"
#include "tools/simulated-line/virtual_clock.h"

namespace {

class GdiUi : public testing_support::RecordingUi {
  public:
    ravelo::CounterView& counter_view() override { return box; }
    ravelo::GdiCounterScreen gdi;
    ravelo::CounterBox box{gdi};
};

struct ScreenRig {
    simline::VirtualClock clock;
    testing_support::ScriptedPeer peer;  // the counter never touches the line
    simline::SimulatedPorts ports{clock, peer};
    GdiUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
};

using win32_test::fill_screen;
using win32_test::screen_readable;
using win32_test::ScreenCopy;

constexpr COLORREF kUnder = RGB(10, 60, 140);
constexpr COLORREF kMovedIn = RGB(200, 20, 20);
constexpr COLORREF kYellow = RGB(255, 255, 100);

TEST(ReaderCounterScreen, BoxIsDrawnAndTheScreenRestored) {
    if (!screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    ScreenRig rig;
    const RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const win32_test::PlainWindow under(around, kUnder, WS_EX_TOPMOST);

    rig.ui.box.start();
    const ravelo::ScreenRect box = ravelo::counter_box(rig.ui.box.overlay());
    EXPECT_EQ(rig.ui.box.overlay().centre_x, around.right / 2);
    EXPECT_EQ(rig.ui.box.overlay().centre_y, around.bottom / 2 - 10);
    EXPECT_GT(rig.ui.box.overlay().box_width, 50);
    EXPECT_EQ(ScreenCopy().pixel(box.left + 2, box.top + 2), kUnder) << "start draws nothing";

    rig.ui.box.show(42);
    const ScreenCopy drawn;
    EXPECT_EQ(drawn.pixel(box.left, box.top), RGB(0, 0, 0)) << "black outline";
    EXPECT_EQ(drawn.pixel(box.right - 1, box.bottom - 1), RGB(0, 0, 0));
    EXPECT_EQ(drawn.pixel(box.left + 2, box.top + 2), kYellow) << "pale yellow fill";
    const RECT inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    const int text_pixels = drawn.pixels_not(inside, kYellow);
    EXPECT_GT(text_pixels, 50) << "the count is written in the box";

    // A window moved under the box meanwhile: finish still puts back what start saw.
    const RECT capture{box.left, box.top, box.left + rig.ui.box.overlay().box_width, box.bottom};
    fill_screen(capture, kMovedIn);
    rig.ui.box.finish();
    EXPECT_EQ(ScreenCopy().pixels_not(capture, kUnder), 0);

    // A second finish has nothing to put back and leaves the screen alone.
    fill_screen(capture, kMovedIn);
    rig.ui.box.finish();
    EXPECT_EQ(ScreenCopy().pixels_not(capture, kMovedIn), 0);
}

TEST(ReaderCounterScreen, TransferWithoutRecordsLeavesTheScreenAsItWas) {
    if (!screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    ScreenRig rig;
    const RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const win32_test::PlainWindow under(around, kUnder, WS_EX_TOPMOST);
    rig.ui.box.start();
    rig.ui.box.finish();
    const ravelo::ScreenRect box = ravelo::counter_capture(rig.ui.box.overlay());
    // The box and its surroundings.
    const RECT near_box{box.left - 8, box.top - 8, box.right + 8, box.bottom + 8};
    EXPECT_EQ(ScreenCopy().pixels_not(near_box, kUnder), 0);
}

TEST(ReaderCounterScreen, MeasuresTheTextInTheScreenFont) {
    if (!screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    ravelo::GdiCounterScreen screen;
    const int blank = screen.text_width("Počet přijatých záznamů: 0");
    const int wider = screen.text_width("Počet přijatých záznamů: 0    ");
    EXPECT_GT(blank, 0);
    EXPECT_GT(wider, blank) << "the trailing blanks are measured too";
}

}  // namespace
