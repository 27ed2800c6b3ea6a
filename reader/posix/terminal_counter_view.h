// The record counter on a text terminal: one line of the controlling terminal, put back at finish.
#pragma once

#include "common/posix/status_line.h"
#include "reader/counter_view.h"

namespace ravelo {

// Draws on /dev/tty, so the count shows even when standard output is redirected; with no
// controlling terminal nothing is drawn.
class TerminalCounterView : public CounterView {
  public:
    void start() override;
    void show(int count) override;
    void finish() override;
    // The line was taken at start and not yet put back.
    bool showing() const { return showing_; }
    // Draws nothing from here on, terminal or not.
    void keep_quiet() { quiet_ = true; }

  private:
    common::TerminalStatusLine line_;
    bool showing_ = false;
    bool quiet_ = false;
};

}  // namespace ravelo
