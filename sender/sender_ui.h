// What the sender needs from its user interface beyond message boxes: its dialogs and progress.
#pragma once

#include <string>

#include "common/dialog_end.h"

namespace lumbra {

struct Sender;

class SenderUi {
  public:
    virtual ~SenderUi() = default;
    // The Open dialog; true with the chosen file's full path in settings.lookup_path.
    virtual bool choose_lookup_file(Sender& sender) = 0;
    // The port dialog on settings.port_index and baud_index, left with OK or Zrušit.
    virtual common::DialogEnd run_port_dialog(Sender& sender) = 0;
    // Called once before the first attempt (the progress bar's class must exist).
    virtual void init_common_controls() = 0;
    // The progress window: opened with the bar at 0 of 0..100, moved, closed.
    virtual void open_progress_window() = 0;
    virtual void set_progress(int percent) = 0;
    virtual void close_progress_window() = 0;
    // The settings file could not be written. Windows says nothing; a terminal names the reason.
    virtual void settings_not_saved(const std::string& path, const std::string& reason) {
        (void)path;
        (void)reason;
    }
};

}  // namespace lumbra
