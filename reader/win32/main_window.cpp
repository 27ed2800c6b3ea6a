// The hidden main window of Ravelo.exe and the exit code of the run it frames.
#include "reader/win32/main_window.h"

#include <string>

#include "reader/settings_file.h"

namespace ravelo {

namespace {

const wchar_t* const kClassName = L"Ravelo";

struct Creation {
    Reader* reader;
    const platform::ProgramFolders* folders;
};

LRESULT on_create(LPARAM lparam) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    const auto* creation = static_cast<const Creation*>(create->lpCreateParams);
    try {
        load_settings(*creation->reader, *creation->folders);
    } catch (...) {
        // Unreadable settings leave the defaults, as a missing file does.
    }
    return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return on_create(lparam);
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

bool register_main_class(HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    window_class.lpszClassName = kClassName;
    return RegisterClassW(&window_class) != 0;
}

// Destroys the window and gives its class back on every way out.
class HiddenWindow {
  public:
    HiddenWindow(HINSTANCE instance, HWND window) : instance_(instance), window_(window) {}
    ~HiddenWindow() {
        if (window_) DestroyWindow(window_);
        UnregisterClassW(kClassName, instance_);
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND get() const { return window_; }

  private:
    HINSTANCE instance_;
    HWND window_;
};

}  // namespace

int run_with_hidden_window(HINSTANCE instance, Reader& reader,
                           const platform::ProgramFolders& folders,
                           const std::function<void()>& run) {
    if (!register_main_class(instance)) return 0;
    Creation creation{&reader, &folders};
    const HiddenWindow window(
        instance, CreateWindowExW(0, kClassName, L"Čtení dat", WS_POPUP, 10, 50, 10, 100, nullptr,
                                  nullptr, instance, &creation));
    if (!window.get()) return 0;
    try {
        run();
    } catch (...) {
        // Whatever ended the run, the window goes and the code says the window was set up.
    }
    return 1;
}

}  // namespace ravelo
