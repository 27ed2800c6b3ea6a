// Lumbra.exe: the hidden main window, the command-line tail read as UTF-16, one run of the
// sender; the exit code is 0 whatever happens.
#include <windows.h>

#include <string>

#include "common/program_help.h"
#include "common/win32/help_box.h"
#include "common/win32/win32_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/win32/wide.h"
#include "sender/command_line.h"
#include "sender/run_sender.h"
#include "sender/sender.h"
#include "sender/sender_messages.h"
#include "sender/settings_file.h"
#include "sender/usage_text.h"
#include "sender/win32/main_window.h"
#include "sender/win32/win32_sender_ui.h"

namespace {

std::string usage() {
    return lumbra::command_line_help("Lumbra.exe", "C:\\Data\\list.txt") +
           "\nNastavení: " + lumbra::kSettingsFileName +
           " vedle programu, nelze-li tam zapisovat, v %LOCALAPPDATA%\\Lumbra.\n"
           "Uvozovky kolem cesty s mezerami nejsou součástí jména.\n" +
           common::windows_port_note();
}

void run(HINSTANCE instance, const std::string& tail) {
    auto clock = platform::make_system_clock();
    auto ports = platform::make_system_serial_ports();
    common::Win32MessageBoxes boxes;
    lumbra::Win32SenderUi ui(instance);
    lumbra::Sender sender(*ports, *clock, boxes, ui);
    if (!lumbra::apply_command_line(sender.settings, tail)) {
        boxes.show_message(lumbra::kCaption, lumbra::kPathTooLong, common::BoxIcon::exclamation,
                           common::BoxOwner::none);
        return;
    }
    lumbra::run_sender(sender, platform::program_folders("Lumbra"));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    // The transfer reads no messages for many seconds at a time; a ghost window in its place
    // would freeze the progress bar's picture and let the user close a window that must stay.
    DisableProcessWindowsGhosting();
    try {
        const std::string tail = platform::from_wide(command_line ? command_line : L"");
        if (common::show_help_if_asked(tail, "Lumbra", usage())) return 0;
        return lumbra::run_with_main_window(instance, instance, [&] { run(instance, tail); });
    } catch (...) {
        return 0;  // before the window was set up
    }
}
