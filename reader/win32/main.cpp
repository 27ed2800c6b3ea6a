// Ravelo.exe: a hidden window loads the settings, then one run of the reader.
#include <windows.h>

#include <string>

#include "common/program_help.h"
#include "common/win32/help_box.h"
#include "common/win32/win32_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/win32/wide.h"
#include "reader/command_line.h"
#include "reader/reader.h"
#include "reader/run_reader.h"
#include "reader/settings_file.h"
#include "reader/usage_text.h"
#include "reader/win32/main_window.h"
#include "reader/win32/win32_ui.h"

namespace {

std::string usage() {
    return ravelo::command_line_help("Ravelo.exe", "C:\\Data\\prijem.txt") +
           "\nNastavení: " + ravelo::kSettingsFileName +
           " vedle programu, nelze-li tam zapisovat, v %LOCALAPPDATA%\\Ravelo.\n"
           "Uvozovky kolem cesty s mezerami nejsou součástí jména.\n" +
           common::windows_port_note();
}

int run(HINSTANCE instance, const std::string& tail) {
    auto clock = platform::make_system_clock();
    auto ports = platform::make_system_serial_ports();
    common::Win32MessageBoxes boxes;
    ravelo::Win32Ui ui;
    ravelo::Reader reader(*ports, *clock, boxes, ui);
    const platform::ProgramFolders folders = platform::program_folders("Ravelo");
    return ravelo::run_with_hidden_window(instance, reader, folders, [&] {
        if (ravelo::apply_command_line(reader, tail)) ravelo::run_reader(reader);
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    // A transfer reads no messages for many seconds; a ghost window would offer to close the
    // program in the middle of it.
    DisableProcessWindowsGhosting();
    try {
        const std::string tail = platform::from_wide(command_line ? command_line : L"");
        if (common::show_help_if_asked(tail, "Ravelo", usage())) return 0;
        return run(instance, tail);
    } catch (...) {
        return 0;  // before the window was set up
    }
}
