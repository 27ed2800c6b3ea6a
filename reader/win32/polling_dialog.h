// The Win32 online polling window "ProgressDlg": one transfer per tick of timer 901.
#pragma once

#include <windows.h>

#include "reader/polling.h"
#include "reader/reader.h"

namespace ravelo {

// What the window's procedure works with; lParam of WM_INITDIALOG points at it.
struct PollingWindow {
    Reader& reader;
    Transfer transfer;
};

// Runs the window modally over the active window with run_transfer until it closes.
PollingEnd show_polling_window(Reader& reader);
// The same with a given transfer and the templates of a given module (for the tests).
PollingEnd show_polling_window(PollingWindow& window, HINSTANCE templates);

INT_PTR CALLBACK polling_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace ravelo
