// The file dialogs' long-path buffer and the current directory they must leave alone.
#include "common/win32/file_dialog_buffer.h"

#include <cderr.h>

#include "platform/paths.h"
#include "platform/win32/wide.h"

namespace common {

std::wstring file_dialog_buffer(const std::string& proposed) {
    std::wstring buffer(kFileDialogBuffer, L'\0');
    const std::wstring wide = platform::to_wide(proposed);
    if (wide.size() < kFileDialogBuffer) wide.copy(buffer.data(), wide.size());
    return buffer;
}

const wchar_t* initial_directory(const std::string& proposed, const std::wstring& directory) {
    if (!platform::directory_part(proposed).empty() || directory.empty()) return nullptr;
    return directory.c_str();
}

bool show_file_dialog(FileDialogCall show, OPENFILENAMEW& dialog, std::wstring& buffer,
                      const std::wstring& directory, FileDialogError why) {
    dialog.lpstrFile = buffer.data();
    if (show(&dialog)) return true;
    if (why() != FNERR_INVALIDFILENAME) return false;
    buffer = file_dialog_buffer("");
    dialog.lpstrFile = buffer.data();
    dialog.lpstrInitialDir = initial_directory("", directory);
    return show(&dialog) != 0;
}

KeptCurrentDirectory::KeptCurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return;
    directory_.assign(size, L'\0');
    const DWORD n = GetCurrentDirectoryW(size, directory_.data());
    directory_.resize(n < size ? n : 0);
}

KeptCurrentDirectory::~KeptCurrentDirectory() {
    if (!directory_.empty()) SetCurrentDirectoryW(directory_.c_str());
}

}  // namespace common
