// What the Windows dialog tests share: the build's bin folder, screenshots for a person to look
// at after the run, reading the screen back, and driving a modal dialog from inside its loop.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32_test {

// The test program's folder (the build's bin), with its trailing backslash.
inline std::wstring bin_directory() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/") + 1);
}

// A 24-bit .bmp of the whole screen in the build's screenshots folder.
inline void save_screenshot(const std::wstring& name) {
    const std::wstring folder = bin_directory() + L"..\\screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
}

// Whether the screen can be read back at all (under Xvfb it can).
inline bool screen_readable() {
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    const bool ok = GetPixel(dc, 0, 0) != CLR_INVALID;
    ReleaseDC(nullptr, dc);
    return ok;
}

// Drives a modal dialog from a thread timer that its own message loop dispatches:
// set `action`, arm(), then run the dialog.
struct ModalDriver {
    static inline std::function<void()> action;
    static void arm(UINT delay_ms = 400) { SetTimer(nullptr, 0, delay_ms, fire); }
    static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (action) action();
    }
};

}  // namespace win32_test
