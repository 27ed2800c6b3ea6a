// The reader's user interface on Windows: message boxes, Notepad, the dialogs, the screen.
#pragma once

#include "reader/reader_ui.h"
#include "reader/win32/gdi_counter_screen.h"

namespace ravelo {

class Win32Ui : public ReaderUi {
  public:
    void show_message(const std::string& caption, const std::string& text) override;
    bool ask_yes_no(const std::string& caption, const std::string& text) override;
    void open_in_viewer(const std::string& path) override;
    int run_properties_dialog(Reader& reader) override;
    int run_polling_window(Reader& reader) override;
    CounterScreen& counter_screen() override { return screen_; }

  private:
    GdiCounterScreen screen_;
};

}  // namespace ravelo
