// The Open dialog for the lookup file, with its filters and flags, through the wide API.
#include "sender/win32/lookup_file_dialog.h"

#include <commdlg.h>

#include <string>

#include "platform/win32/wide.h"

namespace lumbra {

namespace {

constexpr DWORD kFileBuffer = 256;  // characters, the terminator included

// Pairs of shown text and pattern; the list ends with an empty pair.
const wchar_t kFilters[] =
    L"Lookup soubory {*.TXT}\0*.TXT\0"
    L"Všechny soubory {*.*}\0*.*\0";

}  // namespace

bool choose_lookup_file(SenderSettings& settings, HWND owner) {
    std::wstring file(kFileBuffer, L'\0');
    platform::to_wide(settings.lookup_path).copy(file.data(), kFileBuffer - 1);
    const std::wstring directory = platform::to_wide(settings.directory);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kFileBuffer;
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = L"TXT";
    if (!GetOpenFileNameW(&dialog)) return false;
    settings.lookup_path = platform::from_wide(file.c_str());
    return true;
}

}  // namespace lumbra
