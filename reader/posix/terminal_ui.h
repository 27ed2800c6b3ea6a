// The reader's user interface on a POSIX terminal: the viewer, the form, the polling window and
// the counter line.
#pragma once

#include <cstdio>

#include "reader/posix/terminal_counter_screen.h"
#include "reader/reader_ui.h"

namespace ravelo {

class TerminalUi : public ReaderUi {
  public:
    void open_in_viewer(const std::string& path) override;
    int run_properties_dialog(Reader& reader) override;
    int run_polling_window(Reader& reader) override;
    CounterScreen& counter_screen() override { return screen_; }

  private:
    TerminalCounterScreen screen_;
};

}  // namespace ravelo
