// The reader's user interface on Windows: Notepad, the dialogs, the screen.
#pragma once

#include "reader/reader_ui.h"
#include "reader/win32/counter_box.h"
#include "reader/win32/gdi_counter_screen.h"

namespace ravelo {

class Win32Ui : public ReaderUi {
  public:
    void open_in_viewer(const std::string& path) override;
    common::DialogEnd run_properties_dialog(Reader& reader) override;
    PollingEnd run_polling_window(Reader& reader) override;
    CounterView& counter_view() override { return counter_; }

  private:
    GdiCounterScreen screen_;
    CounterBox counter_{screen_};
};

}  // namespace ravelo
