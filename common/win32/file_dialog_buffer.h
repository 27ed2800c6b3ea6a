// What the save and open dialogs share: a file buffer that takes long paths, and the process's
// current directory kept as it was.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

#include <string>

namespace common {

// Characters, the terminator included: the longest path Windows knows.
constexpr DWORD kFileDialogBuffer = 32768;

// The proposed path (UTF-8) in a buffer of kFileDialogBuffer characters; one that does not fit
// is not proposed.
std::wstring file_dialog_buffer(const std::string& proposed);

// The initial directory to hand over beside the proposed path: none when the path names its
// folder, since the dialogs of Windows 7 and later take the last folder used instead of an
// initial directory they were given before, but a folder in the proposed name wins.
const wchar_t* initial_directory(const std::string& proposed, const std::wstring& directory);

using FileDialogCall = BOOL(WINAPI*)(LPOPENFILENAMEW);
using FileDialogError = DWORD(WINAPI*)();

// Shows the dialog (GetOpenFileNameW or GetSaveFileNameW) on `buffer`. Windows refuses to open
// a dialog at all on a proposed name it finds invalid (Wine does not check): it is then shown
// again without one, in `directory`, rather than the button being ignored. True when a file was
// chosen.
bool show_file_dialog(FileDialogCall show, OPENFILENAMEW& dialog, std::wstring& buffer,
                      const std::wstring& directory, FileDialogError why = CommDlgExtendedError);

// The open dialog changes the current directory whatever its flags say; this puts it back.
class KeptCurrentDirectory {
  public:
    KeptCurrentDirectory();
    ~KeptCurrentDirectory();
    KeptCurrentDirectory(const KeptCurrentDirectory&) = delete;
    KeptCurrentDirectory& operator=(const KeptCurrentDirectory&) = delete;

  private:
    std::wstring directory_;
};

}  // namespace common
