// Notepad started without waiting for it, and the reader's dialogs.
#include "reader/win32/win32_ui.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "reader/win32/polling_dialog.h"
#include "reader/win32/properties_dialog.h"

namespace ravelo {

namespace {

// Notepad from the system folder: a bare name would be looked for in the program's folder and
// the current directory first.
std::wstring system_notepad() {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(folder, n) + L"\\notepad.exe";
}

}  // namespace

// The path goes to Notepad unquoted, as other software that reads its command line expects.
void Win32Ui::open_in_viewer(const std::string& path) {
    const std::wstring application = system_notepad();
    if (application.empty()) return;
    std::wstring command = L"notepad.exe " + platform::to_wide(path);
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(application.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

common::DialogEnd Win32Ui::run_properties_dialog(Reader& reader) {
    return show_properties_dialog(reader);
}

PollingEnd Win32Ui::run_polling_window(Reader& reader) {
    return show_polling_window(reader);
}

}  // namespace ravelo
