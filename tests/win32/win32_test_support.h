// What the Windows dialog tests share: the build's bin folder, screenshots for a person to look
// at after the run, driving a modal dialog from inside its loop, and a modeless dialog from a
// program's template library driven as a user would and read back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/win32/wide.h"
#include "tests/win32/gdi_canvas.h"

namespace win32_test {

// The test program's folder (the build's bin), with its trailing backslash.
inline std::wstring bin_directory() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/") + 1);
}

// A module loaded for the test, freed on every way out of it.
struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

// A 32-bit .bmp of the whole screen in the build's screenshots folder.
inline void save_screenshot(const std::wstring& name) {
    const std::wstring folder = bin_directory() + L"..\\screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const ScreenCopy screen;
    ASSERT_TRUE(screen.ok());
    const BITMAPINFOHEADER info = top_down_header(screen.width(), screen.height());
    const DWORD size = static_cast<DWORD>(screen.width() * screen.height() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + size;
    HANDLE out = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, screen.bits(), size, &written, nullptr);
    CloseHandle(out);
}

// Drives a modal dialog from a thread timer that its own message loop dispatches: arm() with
// what to do, then run the dialog.
struct ModalDriver {
    static inline std::function<void()> action;
    static void arm(std::function<void()> then, UINT delay_ms = 400) {
        action = std::move(then);
        SetTimer(nullptr, 0, delay_ms, fire);
    }
    static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (action) action();
    }
};

// Takes the WM_QUIT a destroyed main window leaves in this thread's queue; true when there was
// one. Left behind, it would end the next test's modal dialog before it is shown.
inline bool take_quit_message() {
    MSG message{};
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

inline std::string window_text(HWND window) {
    wchar_t buffer[512] = L"";
    GetWindowTextW(window, buffer, 512);
    return platform::from_wide(buffer);
}
inline std::string control_text(HWND dialog, int id) {
    return window_text(GetDlgItem(dialog, id));
}

// The texts of a combo box's list.
inline std::vector<std::string> list_items(HWND dialog, int id) {
    std::vector<std::string> out;
    const auto n = static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buffer[128] = L"";
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(buffer));
        out.push_back(platform::from_wide(buffer));
    }
    return out;
}

// A program's dialog templates (its resource library in the bin folder) and one dialog made from
// them, modeless and never shown: its procedure runs as in the modal case. The owner calls
// close() before anything the procedure uses goes away.
class DialogHarness {
  public:
    explicit DialogHarness(const wchar_t* library)
        : templates(LoadLibraryW((bin_directory() + library).c_str())) {}
    ~DialogHarness() {
        close();
        if (templates) FreeLibrary(templates);
    }
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;

    void open(const wchar_t* name, DLGPROC procedure, void* data) {
        close();
        ASSERT_NE(templates, nullptr);
        dialog =
            CreateDialogParamW(templates, name, nullptr, procedure, reinterpret_cast<LPARAM>(data));
        ASSERT_NE(dialog, nullptr) << GetLastError();
    }
    void close() {
        if (dialog) DestroyWindow(dialog);
        dialog = nullptr;
    }

    void click(int id) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // The list's choice as a user makes it, with the notice the list sends.
    void choose(int id, int index) {
        select(id, index);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // The list's choice set by the program, without a notice.
    void select(int id, int index) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    void type(int id, const std::string& text) {
        SetDlgItemTextW(dialog, id, platform::to_wide(text).c_str());
    }
    // Over the whole text, key by key, as a user types: an edit without auto-scroll takes no more
    // than it can show.
    void type_keys(int id, const std::string& text) {
        SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1);
        for (wchar_t c : platform::to_wide(text)) SendDlgItemMessageW(dialog, id, WM_CHAR, c, 1);
    }

    std::string text(int id) const { return control_text(dialog, id); }
    std::vector<std::string> items(int id) const { return list_items(dialog, id); }
    bool checked(int id) const { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    bool enabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

    HMODULE templates;
    HWND dialog = nullptr;
};

}  // namespace win32_test
