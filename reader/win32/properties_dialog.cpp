// The Win32 properties dialog: moves values between its controls and the plain dialog rules.
#include "reader/win32/properties_dialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "common/dialog_start.h"
#include "common/port_labels.h"
#include "common/win32/file_dialog_buffer.h"
#include "platform/win32/wide.h"
#include "reader/properties_rules.h"
#include "resources/ravelo_ids.h"

namespace ravelo {

namespace {

Reader* reader_of(HWND dialog) {
    return reinterpret_cast<Reader*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::string item_text(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return platform::from_wide(text);
}

void set_item_text(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, platform::to_wide(text).c_str());
}

void fill_list(HWND dialog, int id, const std::vector<std::string>& labels, int selected) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& label : labels) {
        std::wstring wide = platform::to_wide(label);
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int list_selection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void set_check(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool is_checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void enable(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on);
}

// What the online switch governs: its own mark, list 703, box 804 and the interval controls.
void show_online_state(HWND dialog, const PropertiesView& view) {
    set_check(dialog, IDC_ONLINE, view.online);
    fill_list(dialog, IDC_FILE_MODE, file_mode_labels(view.online), view.file_mode);
    set_check(dialog, IDC_SHOW_RECEIVED, view.show_received);
    enable(dialog, IDC_SHOW_RECEIVED, show_received_enabled(view.online));
    for (int id : {IDC_INTERVAL_LABEL, IDC_INTERVAL, IDC_INTERVAL_HINT}) {
        enable(dialog, id, interval_enabled(view.online));
    }
}

PropertiesView read_view(HWND dialog) {
    PropertiesView view;
    view.directory = item_text(dialog, IDC_DIRECTORY);
    view.file_name = item_text(dialog, IDC_FILE_NAME);
    view.interval = item_text(dialog, IDC_INTERVAL);
    view.port = list_selection(dialog, IDC_PORT);
    view.baud = list_selection(dialog, IDC_BAUD);
    view.file_mode = list_selection(dialog, IDC_FILE_MODE);
    view.append_cr = is_checked(dialog, IDC_APPEND_CR);
    view.append_lf = is_checked(dialog, IDC_APPEND_LF);
    view.show_errors = is_checked(dialog, IDC_SHOW_ERRORS);
    view.show_received = is_checked(dialog, IDC_SHOW_RECEIVED);
    view.always_ask = is_checked(dialog, IDC_ALWAYS_ASK);
    view.online = is_checked(dialog, IDC_ONLINE);
    return view;
}

void init_dialog(HWND dialog, Reader& reader) {
    PropertiesView view = open_properties(reader.settings);
    set_item_text(dialog, IDC_DIRECTORY, view.directory);
    set_item_text(dialog, IDC_FILE_NAME, view.file_name);
    set_item_text(dialog, IDC_INTERVAL, view.interval);
    fill_list(dialog, IDC_PORT, common::port_labels(kPortCount), view.port);
    fill_list(dialog, IDC_BAUD, common::baud_labels(), view.baud);
    set_check(dialog, IDC_APPEND_CR, view.append_cr);
    set_check(dialog, IDC_APPEND_LF, view.append_lf);
    set_check(dialog, IDC_SHOW_ERRORS, view.show_errors);
    set_check(dialog, IDC_ALWAYS_ASK, view.always_ask);
    show_online_state(dialog, view);
}

void interval_changed(HWND dialog, Reader& reader) {
    // A replacement sends EN_CHANGE again, which then finds a valid number.
    if (auto replacement =
            interval_text_changed(reader.settings, item_text(dialog, IDC_INTERVAL))) {
        set_item_text(dialog, IDC_INTERVAL, *replacement);
    }
}

void browse(HWND dialog, Reader& reader) {
    if (!browse_output_file(reader, dialog)) return;
    const std::string chosen = reader.output_path;
    apply_browsed_path(reader.settings, reader.output_path, chosen);
    set_item_text(dialog, IDC_DIRECTORY, reader.settings.directory);
    set_item_text(dialog, IDC_FILE_NAME, reader.settings.file_name);
}

INT_PTR on_command(HWND dialog, Reader& reader, int id, int code) {
    switch (id) {
        case IDC_FILE_MODE: {
            int selected = list_selection(dialog, IDC_FILE_MODE);
            if (selected >= 0) reader.settings.file_mode = selected;
            return FALSE;
        }
        case IDC_APPEND_CR:
        case IDC_APPEND_LF:
        case IDC_SHOW_ERRORS:
        case IDC_SHOW_RECEIVED:
        case IDC_ALWAYS_ASK:
            set_check(dialog, id, !is_checked(dialog, id));
            return FALSE;
        case IDC_ONLINE: {
            PropertiesView view = read_view(dialog);
            switch_online(reader.settings, view);
            show_online_state(dialog, view);
            return FALSE;
        }
        case IDC_INTERVAL:
            if (code == EN_CHANGE) interval_changed(dialog, reader);
            return FALSE;
        case IDOK:
            accept_properties(reader.settings, reader.output_path, read_view(dialog));
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return FALSE;
        case IDC_BROWSE:
            browse(dialog, reader);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK properties_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    // No exception may leave a Win32 callback: a failure here ends the dialog as Storno.
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            init_dialog(dialog, *reinterpret_cast<Reader*>(lparam));
            return TRUE;
        }
        Reader* reader = reader_of(dialog);
        if (message == WM_COMMAND && reader != nullptr) {
            return on_command(dialog, *reader, LOWORD(wparam), HIWORD(wparam));
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
    }
    return FALSE;
}

bool browse_output_file(Reader& reader, HWND owner) {
    reader.output_path = reader.settings.file_name;
    // The stored directory goes into the proposed name too: the dialog may ignore it otherwise.
    const std::string proposed =
        common::dialog_start_path(reader.settings.directory, reader.settings.file_name);
    std::wstring buffer = common::file_dialog_buffer(proposed);
    const std::wstring directory = platform::to_wide(reader.settings.directory);
    const common::KeptCurrentDirectory kept;

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = L"Data Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = common::kFileDialogBuffer;
    dialog.lpstrInitialDir = common::initial_directory(proposed, directory);
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    dialog.lpstrDefExt = L"TXT";
    if (!common::show_file_dialog(GetSaveFileNameW, dialog, buffer, directory)) return false;
    reader.output_path = platform::from_wide(buffer.c_str());
    return true;
}

common::DialogEnd show_properties_dialog(Reader& reader, HINSTANCE templates) {
    INT_PTR result = DialogBoxParamW(templates, L"PropertiesDlg", GetActiveWindow(),
                                     properties_dialog_proc, reinterpret_cast<LPARAM>(&reader));
    return result == IDOK ? common::DialogEnd::ok : common::DialogEnd::cancelled;
}

common::DialogEnd show_properties_dialog(Reader& reader) {
    return show_properties_dialog(reader, GetModuleHandleW(nullptr));
}

}  // namespace ravelo
