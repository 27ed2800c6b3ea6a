// The Open dialog for the lookup file, with its filters and flags, through the wide API.
#include "sender/win32/lookup_file_dialog.h"

#include <commdlg.h>

#include <string>

#include "common/dialog_start.h"
#include "common/win32/file_dialog_buffer.h"
#include "platform/win32/wide.h"

namespace lumbra {

namespace {

// Pairs of shown text and pattern; the list ends with an empty pair.
const wchar_t kFilters[] =
    L"Lookup soubory {*.TXT}\0*.TXT\0"
    L"Všechny soubory {*.*}\0*.*\0";

}  // namespace

bool choose_lookup_file(SenderSettings& settings, HWND owner) {
    // The stored directory goes into the proposed name too: the dialog may ignore it otherwise.
    const std::string proposed =
        common::dialog_start_path(settings.directory, settings.lookup_path);
    std::wstring file = common::file_dialog_buffer(proposed);
    const std::wstring directory = platform::to_wide(settings.directory);
    const common::KeptCurrentDirectory kept;

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = common::kFileDialogBuffer;
    dialog.lpstrInitialDir = common::initial_directory(proposed, directory);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.lpstrDefExt = L"TXT";
    if (!common::show_file_dialog(GetOpenFileNameW, dialog, file, directory)) return false;
    settings.lookup_path = platform::from_wide(file.c_str());
    return true;
}

}  // namespace lumbra
