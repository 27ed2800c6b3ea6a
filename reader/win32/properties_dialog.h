// The Win32 properties dialog "PropertiesDlg" and its save-file browse.
#pragma once

#include <windows.h>

#include "common/dialog_end.h"
#include "reader/reader.h"

namespace ravelo {

// Runs the dialog modally over the active window: ok, or cancelled for Storno (or no dialog at
// all).
common::DialogEnd show_properties_dialog(Reader& reader);
// The same from the templates of a given module (the tests load them from a resource library).
common::DialogEnd show_properties_dialog(Reader& reader, HINSTANCE templates);

// lParam of WM_INITDIALOG is the Reader; it is kept in DWLP_USER.
INT_PTR CALLBACK properties_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The save-file dialog from the settings' directory and file name; true with the chosen path in
// output_path, false when cancelled.
bool browse_output_file(Reader& reader, HWND owner);

}  // namespace ravelo
