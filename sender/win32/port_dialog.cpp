// The Win32 port dialog: fills its two lists from the plain dialog rules and hands OK's
// selections back to them.
#include "sender/win32/port_dialog.h"

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "resources/lumbra_ids.h"
#include "sender/port_dialog_rules.h"

namespace lumbra {

namespace {

void fill_list(HWND dialog, int id, const std::vector<std::string>& labels, int selected) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& label : labels) {
        const std::wstring wide = platform::to_wide(label);
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    // -1 selects nothing.
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int list_selection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void init_dialog(HWND dialog, const SenderSettings& settings) {
    const PortDialogView view = open_port_dialog(settings);
    fill_list(dialog, IDC_LOOKUP_PORT, view.ports, view.port);
    fill_list(dialog, IDC_LOOKUP_BAUD, view.bauds, view.baud);
}

}  // namespace

INT_PTR CALLBACK port_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    // No exception may leave a Win32 callback: a failure here ends the dialog as Zrušit.
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            init_dialog(dialog, *reinterpret_cast<SenderSettings*>(lparam));
            return TRUE;  // the dialog manager puts the focus on the first tab stop, list 101
        }
        auto* settings = reinterpret_cast<SenderSettings*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (message != WM_COMMAND || settings == nullptr) return FALSE;
        // Enter arrives as IDOK; Escape and the close box as IDCANCEL.
        switch (LOWORD(wparam)) {
            case IDOK:
                accept_port_dialog(*settings, list_selection(dialog, IDC_LOOKUP_PORT),
                                   list_selection(dialog, IDC_LOOKUP_BAUD));
                EndDialog(dialog, IDOK);
                return TRUE;
            case IDCANCEL:
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;  // a changed selection counts only at OK
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
    }
    return FALSE;
}

common::DialogEnd show_port_dialog(SenderSettings& settings, HINSTANCE templates, HWND owner) {
    const INT_PTR result = DialogBoxParamW(templates, L"ComPropertiesDlg", owner, port_dialog_proc,
                                           reinterpret_cast<LPARAM>(&settings));
    return result == IDOK ? common::DialogEnd::ok : common::DialogEnd::cancelled;
}

}  // namespace lumbra
