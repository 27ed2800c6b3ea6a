// ravelo: fetches the terminal's collected records into a text file, from a terminal or a script.
#include <exception>
#include <string>

#include "common/posix/command_line_tail.h"
#include "common/posix/terminal_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "reader/command_line.h"
#include "reader/posix/terminal_ui.h"
#include "reader/reader.h"
#include "reader/run_sequence.h"
#include "reader/settings_file.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitStartupFailed = 2;

}  // namespace

int main(int argc, char** argv) {
    try {
        auto clock = platform::make_system_clock();
        auto ports = platform::make_system_serial_ports();
        common::TerminalMessageBoxes boxes;
        ravelo::TerminalUi ui;
        ravelo::Reader reader(*ports, *clock, boxes, ui);
        ravelo::load_settings(reader, platform::executable_directory());
        ravelo::apply_command_line(reader, common::command_line_tail(argc, argv));
        return ravelo::run_reader(reader) == 1 ? kExitSuccess : kExitRunFailed;
    } catch (const std::exception& e) {
        common::TerminalMessageBoxes().show_message(ravelo::kErrorCaption, e.what());
        return kExitStartupFailed;
    }
}
