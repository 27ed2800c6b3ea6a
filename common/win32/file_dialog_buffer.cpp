// The file dialogs' long-path buffer and the current directory they must leave alone.
#include "common/win32/file_dialog_buffer.h"

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
