// The reader's user interface on a POSIX terminal: the viewer, the form, the polling window and
// the counter line.
#pragma once

#include <cstdio>

#include "common/posix/settings_report.h"
#include "reader/posix/terminal_counter_screen.h"
#include "reader/reader_ui.h"

namespace ravelo {

class TerminalUi : public ReaderUi {
  public:
    void open_in_viewer(const std::string& path) override;
    int run_properties_dialog(Reader& reader) override;
    int run_polling_window(Reader& reader) override;
    CounterScreen& counter_screen() override { return screen_; }
    void settings_not_saved(const std::string& path, const std::string& reason) override {
        common::report_unsaved_settings(path, reason);
    }
    // The online polling was ended by the user between transfers (a key or a stop signal).
    bool polling_stopped_by_user() const { return polling_stopped_by_user_; }

  private:
    TerminalCounterScreen screen_;
    bool polling_stopped_by_user_ = false;
};

}  // namespace ravelo
