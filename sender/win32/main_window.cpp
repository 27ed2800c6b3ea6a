// The hidden main window: never shown, no message loop of its own; the modal dialogs and message
// boxes of the run bring theirs.
#include "sender/win32/main_window.h"

namespace lumbra {

namespace {

const wchar_t* const kClassName = L"lookup";

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

bool register_main_class(HINSTANCE instance, HINSTANCE resources) {
    WNDCLASSW window_class{};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    // Resource names ignore letter case: this is the icon "LOOKUP".
    window_class.hIcon = LoadIconW(resources, L"lookup");
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kClassName;
    return RegisterClassW(&window_class) != 0;
}

}  // namespace

int run_with_main_window(HINSTANCE instance, HINSTANCE resources,
                         const std::function<void()>& run) {
    if (!register_main_class(instance, resources)) return 0;
    HWND window = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 2, 2,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, instance, nullptr);
    if (window) {
        try {
            run();
        } catch (...) {
            // Nothing escapes: the window still goes, and the exit code stays 0.
        }
        DestroyWindow(window);
    }
    UnregisterClassW(kClassName, instance);
    return 0;
}

}  // namespace lumbra
