// The counter box's finish asks the windows beneath it to paint the rectangle it stood on.
#include <gtest/gtest.h>
#include <windows.h>

#include "reader/counter.h"
#include "reader/win32/gdi_counter_screen.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/virtual_clock.h"

namespace {

class GdiUi : public testing_support::RecordingUi {
  public:
    ravelo::CounterScreen& counter_screen() override { return gdi; }
    ravelo::GdiCounterScreen gdi;
};

// A plain window over the middle of the screen, where the box will stand; destroyed at the end.
class WindowBeneath {
  public:
    WindowBeneath() {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        window_class.lpszClassName = L"CounterRepaintBeneath";
        RegisterClassW(&window_class);
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        window_ = CreateWindowExW(0, window_class.lpszClassName, L"beneath", WS_POPUP | WS_VISIBLE,
                                  width / 4, height / 4, width / 2, height / 2, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    }
    ~WindowBeneath() {
        if (window_) DestroyWindow(window_);
        UnregisterClassW(L"CounterRepaintBeneath", GetModuleHandleW(nullptr));
    }
    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

TEST(ReaderCounterRepaint, WindowsBeneathTheBoxAreAskedToPaintItsRectangle) {
    WindowBeneath beneath;
    if (!beneath.get()) GTEST_SKIP() << "no desktop to open a window on (run under Xvfb)";
    UpdateWindow(beneath.get());
    ASSERT_FALSE(GetUpdateRect(beneath.get(), nullptr, FALSE)) << "painted before the box";

    simline::VirtualClock clock;
    testing_support::ScriptedPeer peer;
    simline::SimulatedPorts ports{clock, peer};
    GdiUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    ravelo::draw_counter(reader, ravelo::kCounterStart, 0);
    ravelo::draw_counter(reader, ravelo::kCounterUpdate, 7);
    ravelo::draw_counter(reader, ravelo::kCounterFinish, 0);

    const ravelo::ScreenRect box = ravelo::counter_capture(reader.counter);
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
