// The sender's user interface on Windows: the Open dialog, the port dialog, the progress window.
#pragma once

#include <windows.h>

#include "sender/sender_ui.h"
#include "sender/win32/progress_window.h"

namespace lumbra {

class Win32SenderUi : public SenderUi {
  public:
    // The dialog templates come from `templates`: the program's own module, or in the tests a
    // resource library.
    explicit Win32SenderUi(HINSTANCE templates = GetModuleHandleW(nullptr))
        : templates_(templates), progress_(templates) {}

    bool choose_lookup_file(Sender& sender) override;
    common::DialogEnd run_port_dialog(Sender& sender) override;
    void init_common_controls() override;
    void open_progress_window() override { progress_.open(); }
    void set_progress(int percent) override { progress_.set(percent); }
    void close_progress_window() override { progress_.close(); }

    const ProgressWindow& progress() const { return progress_; }

  private:
    HINSTANCE templates_;
    ProgressWindow progress_;
};

}  // namespace lumbra
