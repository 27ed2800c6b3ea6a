// The Win32 port dialog "ComPropertiesDlg": the COM port and the speed before a transfer.
#pragma once

#include <windows.h>

#include "common/dialog_end.h"
#include "sender/sender_settings.h"

namespace lumbra {

// Runs the dialog modally from the templates of `templates`, owned by `owner`: ok, or cancelled
// for Zrušit, Escape, the close box (or no dialog at all).
common::DialogEnd show_port_dialog(SenderSettings& settings, HINSTANCE templates, HWND owner);

// lParam of WM_INITDIALOG is the SenderSettings; it is kept in DWLP_USER.
INT_PTR CALLBACK port_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace lumbra
