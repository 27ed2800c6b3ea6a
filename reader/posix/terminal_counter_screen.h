// The counter box on a text terminal: one line of the controlling terminal, put back at finish.
#pragma once

#include <string>

#include "reader/counter_overlay.h"

namespace ravelo {

// Draws on /dev/tty, so the count shows even when standard output is redirected; with no
// controlling terminal nothing is drawn. Geometry is in character cells.
class TerminalCounterScreen : public CounterScreen {
  public:
    TerminalCounterScreen() = default;
    ~TerminalCounterScreen() override;
    TerminalCounterScreen(const TerminalCounterScreen&) = delete;
    TerminalCounterScreen& operator=(const TerminalCounterScreen&) = delete;

    int screen_width() override;
    int screen_height() override;
    int text_width(const std::string& text) override;
    bool save_background(const ScreenRect& area) override;
    void paint_box(const ScreenRect& box, const std::string& text) override;
    void restore_background(const ScreenRect& area) override;

  private:
    void release();
    int tty_ = -1;  // open from save_background to restore_background
    int columns_ = 0;
};

}  // namespace ravelo
