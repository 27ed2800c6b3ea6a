// The sender's user interface on a POSIX terminal: chooser, port form, progress line, boxes.
#pragma once

#include "common/message_boxes.h"
#include "common/posix/settings_report.h"
#include "common/posix/status_line.h"
#include "sender/posix/boxes_beside_progress.h"
#include "sender/sender_ui.h"

namespace lumbra {

class TerminalUi : public SenderUi {
  public:
    TerminalUi() = default;
    // An error that ends the run early must not leave the bar on the terminal.
    ~TerminalUi() override { progress_.close(); }
    TerminalUi(const TerminalUi&) = delete;
    TerminalUi& operator=(const TerminalUi&) = delete;

    bool choose_lookup_file(Sender& sender) override;
    common::DialogEnd run_port_dialog(Sender& sender) override;
    void init_common_controls() override {}
    void open_progress_window() override;
    void set_progress(int percent) override;
    void close_progress_window() override;
    void settings_not_saved(const std::string& path, const std::string& reason) override {
        common::report_unsaved_settings(path, reason);
    }

    // The boxes the sender is to show its messages with.
    common::MessageBoxes& boxes() { return boxes_; }

  private:
    common::TerminalStatusLine progress_;
    BoxesBesideProgress boxes_{progress_};
};

}  // namespace lumbra
