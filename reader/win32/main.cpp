// Ravelo.exe: a hidden window loads the settings, then one run of the reader.
#include <windows.h>

#include <string>

#include "common/win32/win32_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/win32/wide.h"
#include "reader/command_line.h"
#include "reader/reader.h"
#include "reader/run_sequence.h"
#include "reader/win32/hidden_window.h"
#include "reader/win32/win32_ui.h"

namespace {

int run(HINSTANCE instance, const std::string& tail) {
    auto clock = platform::make_system_clock();
    auto ports = platform::make_system_serial_ports();
    common::Win32MessageBoxes boxes;
    ravelo::Win32Ui ui;
    ravelo::Reader reader(*ports, *clock, boxes, ui);
    return ravelo::run_with_hidden_window(instance, reader, platform::executable_directory(), [&] {
        ravelo::apply_command_line(reader, tail);
        ravelo::run_reader(reader);
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    try {
        return run(instance, platform::from_wide(command_line ? command_line : L""));
    } catch (...) {
        return 0;  // before the window was set up
    }
}
