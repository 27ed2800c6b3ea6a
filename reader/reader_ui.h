// What the reader needs from its user interface beyond message boxes: dialogs, a viewer, the
// screen.
#pragma once

#include <string>

#include "common/dialog_end.h"
#include "reader/polling.h"

namespace ravelo {

struct Reader;
class CounterView;

// Captions used by the reader's message boxes.
inline const char* const kErrorCaption = "Chyba";
inline const char* const kReceiveCaption = "Příjem dat";

class ReaderUi {
  public:
    virtual ~ReaderUi() = default;
    // Opens the received file for the user and does not wait.
    virtual void open_in_viewer(const std::string& path) = 0;
    // The properties dialog, left with OK or Storno.
    virtual common::DialogEnd run_properties_dialog(Reader& reader) = 0;
    // The online polling window, closed by the user or by a failed transfer.
    virtual PollingEnd run_polling_window(Reader& reader) = 0;
    // The record counter, kept for the whole run.
    virtual CounterView& counter_view() = 0;
    // The settings file could not be written. Windows says nothing; a terminal names the reason.
    virtual void settings_not_saved(const std::string& path, const std::string& reason) {
        (void)path;
        (void)reason;
    }
};

}  // namespace ravelo
