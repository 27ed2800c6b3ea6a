// Ravelo.exe: a hidden window loads the settings, then one run of the reader.
#include <windows.h>

#include <exception>
#include <string>

#include "common/win32/win32_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/win32/wide.h"
#include "reader/command_line.h"
#include "reader/reader.h"
#include "reader/run_sequence.h"
#include "reader/settings_file.h"
#include "reader/win32/win32_ui.h"

namespace {

const wchar_t* const kClassName = L"Ravelo";

// The hidden window exists only so that its creation loads the settings.
LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
            auto* reader = static_cast<ravelo::Reader*>(create->lpCreateParams);
            try {
                ravelo::load_settings(*reader, platform::executable_directory());
            } catch (const std::exception&) {
                // Unreadable settings leave the defaults, as a missing file does.
            }
            return 0;
        }
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

int run(HINSTANCE instance, const std::string& tail) {
    auto clock = platform::make_system_clock();
    auto ports = platform::make_system_serial_ports();
    common::Win32MessageBoxes boxes;
    ravelo::Win32Ui ui;
    ravelo::Reader reader(*ports, *clock, boxes, ui);
    if (!register_main_class(instance)) return 0;
    HWND window = CreateWindowExW(0, kClassName, L"Čtení dat", WS_POPUP, 10, 50, 10, 100, nullptr,
                                  nullptr, instance, &reader);
    if (!window) return 0;
    ravelo::apply_command_line(reader, tail);
    ravelo::run_reader(reader);
    DestroyWindow(window);
    return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    try {
        return run(instance, platform::from_wide(command_line ? command_line : L""));
    } catch (const std::exception&) {
        return 0;
    }
}
