// The counter box's finish asks the windows beneath it to paint the rectangle it stood on.
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

TEST(ReaderCounterRepaint, WindowsBeneathTheBoxAreAskedToPaintItsRectangle) {
    // A plain window over the middle of the screen, where the box will stand.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const win32_test::PlainWindow beneath(
        RECT{width / 4, height / 4, width / 4 + width / 2, height / 4 + height / 2},
        RGB(255, 255, 255));
    if (!beneath.get()) GTEST_SKIP() << "no desktop to open a window on (run under Xvfb)";
    ASSERT_FALSE(GetUpdateRect(beneath.get(), nullptr, FALSE)) << "painted before the box";

    simline::VirtualClock clock;
    testing_support::ScriptedPeer peer;
    simline::SimulatedPorts ports{clock, peer};
    GdiUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
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

}  // namespace
