// The reader's user interface on a POSIX terminal: messages on standard error, questions on
// the controlling terminal, the form and the polling window of the terminal front end.
#pragma once

#include <cstdio>

#include "reader/posix/terminal_counter_screen.h"
#include "reader/reader_ui.h"

namespace ravelo {

class TerminalUi : public ReaderUi {
  public:
    void show_message(const std::string& caption, const std::string& text) override;
    bool ask_yes_no(const std::string& caption, const std::string& text) override;
    void open_in_viewer(const std::string& path) override;
    int run_properties_dialog(Reader& reader) override;
    int run_polling_window(Reader& reader) override;
    CounterScreen& counter_screen() override { return screen_; }

  private:
    TerminalCounterScreen screen_;
};

}  // namespace ravelo
