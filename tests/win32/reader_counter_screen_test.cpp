// The counter box on the real screen: its colours and outline, the screen put back after, and the
// windows beneath it asked to paint the rectangle it stood on.
#include <gtest/gtest.h>
#include <windows.h>

#include "reader/reader.h"
#include "reader/win32/gdi_counter_screen.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tests/win32/gdi_canvas.h"
#include "tools/simulated-line/virtual_clock.h"

namespace {

using win32_test::fill_screen;
using win32_test::ScreenCopy;

constexpr COLORREF kUnder = RGB(10, 60, 140);
constexpr COLORREF kMovedIn = RGB(200, 20, 20);
constexpr COLORREF kYellow = RGB(255, 255, 100);

class GdiUi : public testing_support::RecordingUi {
  public:
    ravelo::CounterView& counter_view() override { return box; }
    ravelo::GdiCounterScreen gdi;
    ravelo::CounterBox box{gdi};
};

class ReaderCounterScreen : public ::testing::Test {
  protected:
    simline::VirtualClock clock;
    testing_support::ScriptedPeer peer;  // the counter never touches the line
    simline::SimulatedPorts ports{clock, peer};
    GdiUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    const RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
};

TEST_F(ReaderCounterScreen, BoxIsDrawnAndTheScreenRestored) {
    if (!win32_test::screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    const win32_test::PlainWindow under(around, kUnder, WS_EX_TOPMOST);

    ui.box.start();
    const ravelo::ScreenRect box = ravelo::counter_box(ui.box.overlay());
    EXPECT_EQ(ui.box.overlay().centre_x, around.right / 2);
    EXPECT_EQ(ui.box.overlay().centre_y, around.bottom / 2 - 10);
    EXPECT_GT(ui.box.overlay().box_width, 50);
    EXPECT_EQ(ScreenCopy().pixel(box.left + 2, box.top + 2), kUnder) << "start draws nothing";

    ui.box.show(42);
    const ScreenCopy drawn;
    EXPECT_EQ(drawn.pixel(box.left, box.top), RGB(0, 0, 0)) << "black outline";
    EXPECT_EQ(drawn.pixel(box.right - 1, box.bottom - 1), RGB(0, 0, 0));
    EXPECT_EQ(drawn.pixel(box.left + 2, box.top + 2), kYellow) << "pale yellow fill";
    const RECT inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    EXPECT_GT(drawn.pixels_not(inside, kYellow), 50) << "the count is written in the box";

    // A window moved under the box meanwhile: finish still puts back what start saw.
    const RECT capture{box.left, box.top, box.left + ui.box.overlay().box_width, box.bottom};
    fill_screen(capture, kMovedIn);
    ui.box.finish();
    EXPECT_EQ(ScreenCopy().pixels_not(capture, kUnder), 0);

    // A second finish has nothing to put back and leaves the screen alone.
    fill_screen(capture, kMovedIn);
    ui.box.finish();
    EXPECT_EQ(ScreenCopy().pixels_not(capture, kMovedIn), 0);
}

TEST_F(ReaderCounterScreen, TransferWithoutRecordsLeavesTheScreenAsItWas) {
    if (!win32_test::screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    const win32_test::PlainWindow under(around, kUnder, WS_EX_TOPMOST);
    ui.box.start();
    ui.box.finish();
    const ravelo::ScreenRect box = ravelo::counter_capture(ui.box.overlay());
    const RECT near_box{box.left - 8, box.top - 8, box.right + 8, box.bottom + 8};
    EXPECT_EQ(ScreenCopy().pixels_not(near_box, kUnder), 0);
}

TEST_F(ReaderCounterScreen, WindowsBeneathTheBoxAreAskedToPaintItsRectangle) {
    // A plain window over the middle of the screen, where the box will stand.
    const LONG w = around.right;
    const LONG h = around.bottom;
    const win32_test::PlainWindow beneath(RECT{w / 4, h / 4, w / 4 + w / 2, h / 4 + h / 2},
                                          RGB(255, 255, 255));
    if (!beneath.get()) GTEST_SKIP() << "no desktop to open a window on (run under Xvfb)";
    ASSERT_FALSE(GetUpdateRect(beneath.get(), nullptr, FALSE)) << "painted before the box";
    ui.box.start();
    ui.box.show(7);
    ui.box.finish();

    const ravelo::ScreenRect box = ravelo::counter_capture(ui.box.overlay());
    POINT corner{box.left, box.top};
    ScreenToClient(beneath.get(), &corner);
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(beneath.get(), &dirty, FALSE));
    EXPECT_LE(dirty.left, corner.x);
    EXPECT_LE(dirty.top, corner.y);
    EXPECT_GE(dirty.right, corner.x + (box.right - box.left));
    EXPECT_GE(dirty.bottom, corner.y + (box.bottom - box.top));
}

TEST_F(ReaderCounterScreen, MeasuresTheTextInTheScreenFont) {
    if (!win32_test::screen_readable()) GTEST_SKIP() << "no screen to draw on (run under Xvfb)";
    const int blank = ui.gdi.text_width("Počet přijatých záznamů: 0");
    EXPECT_GT(blank, 0);
    EXPECT_GT(ui.gdi.text_width("Počet přijatých záznamů: 0    "), blank)
        << "the trailing blanks are measured too";
}

}  // namespace
