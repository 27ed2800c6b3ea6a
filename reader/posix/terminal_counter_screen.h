// The counter box on a text terminal: one line of the controlling terminal, put back at finish.
#pragma once

#include <string>

#include "common/posix/status_line.h"
#include "reader/counter_overlay.h"

namespace ravelo {

// Draws on /dev/tty, so the count shows even when standard output is redirected; with no
// controlling terminal nothing is drawn. Geometry is in character cells.
class TerminalCounterScreen : public CounterScreen {
  public:
    int screen_width() override;
    int screen_height() override;
    int text_width(const std::string& text) override;
    bool save_background(const ScreenRect& area) override;
    void paint_box(const ScreenRect& box, const std::string& text) override;
    void restore_background(const ScreenRect& area) override;
    // Draws nothing from here on, terminal or not.
    void keep_quiet() { quiet_ = true; }

  private:
    common::TerminalStatusLine line_;
    bool quiet_ = false;
};

}  // namespace ravelo
