// The reader's user interface on a POSIX terminal: the viewer, the form, the polling window and
// the counter line; online with no terminal on standard input, the polling log instead.
#pragma once

#include <cstdio>

#include "common/posix/settings_report.h"
#include "reader/posix/reader_boxes.h"
#include "reader/posix/terminal_counter_view.h"
#include "reader/reader_ui.h"

namespace ravelo {

class TerminalUi : public ReaderUi {
  public:
    void open_in_viewer(const std::string& path) override;
    common::DialogEnd run_properties_dialog(Reader& reader) override;
    PollingEnd run_polling_window(Reader& reader) override;
    CounterView& counter_view() override { return counter_; }
    void settings_not_saved(const std::string& path, const std::string& reason) override {
        common::report_unsaved_settings(path, reason);
    }
    // The boxes the reader is to show its messages with.
    common::MessageBoxes& boxes() { return boxes_; }
    // The online polling was ended by the user between transfers (a key or a stop signal).
    bool polling_stopped_by_user() const { return polling_stopped_by_user_; }
    // Online polling ran as a service, writing its log.
    bool polling_logged() const { return polling_logged_; }

  private:
    TerminalCounterView counter_;
    ReaderBoxes boxes_;
    bool polling_stopped_by_user_ = false;
    bool polling_logged_ = false;
};

}  // namespace ravelo
