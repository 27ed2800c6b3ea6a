// ravelo: fetches the terminal's collected records into a text file, from a terminal or a script.
#include <exception>
#include <string>

#include "common/posix/command_line_tail.h"
#include "common/posix/program_notes.h"
#include "common/posix/terminal_io.h"
#include "common/posix/terminal_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/stop_signals.h"
#include "reader/command_line.h"
#include "reader/posix/properties_form.h"
#include "reader/posix/terminal_ui.h"
#include "reader/reader.h"
#include "reader/run_reader.h"
#include "reader/settings_file.h"
#include "reader/usage_text.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitStartupFailed = 2;
constexpr int kExitBySignal = 128;  // plus the signal's number, as a shell reports it

const char* const kExitStatuses =
    "\nNávratový kód: 0 záznamy přijaty (online: příjem ukončen po přijetí dat; bez terminálu,\n"
    "jako služba, signálem mezi přenosy), 1 nic nepřijato nebo chyba, 2 program nelze\n"
    "spustit, 128+n přenos ukončen signálem n.\n";

std::string usage() {
    return ravelo::command_line_help("ravelo", "/srv/data/prijem.txt") +
           common::linux_notes(ravelo::kSettingsFileName) + kExitStatuses;
}

// A transfer stopped by a signal, whatever it had received; online, a stop by the user after
// at least one batch is a success, as every batch is in its file. A service is stopped so
// between transfers as a matter of course, batch or none.
int exit_status(int result, const ravelo::Reader& reader, const ravelo::TerminalUi& ui) {
    if (platform::stop_signal() != 0) return kExitBySignal + platform::stop_signal();
    if (result == 1) return kExitSuccess;
    if (ui.polling_stopped_by_user() && (reader.batches_received > 0 || ui.polling_logged())) {
        return kExitSuccess;
    }
    return kExitRunFailed;
}

}  // namespace

int main(int argc, char** argv) {
    const common::Arguments arguments = common::read_arguments(argc, argv);
    if (const auto status =
            common::answer_arguments(arguments, "ravelo", usage(), ravelo::kPortCount))
        return *status;
    const std::string& tail = arguments.tail;
    try {
        auto clock = platform::make_system_clock();
        auto ports = platform::make_system_serial_ports();
        ravelo::TerminalUi ui;
        ravelo::Reader reader(*ports, *clock, ui.boxes(), ui);
        reader.file_charset =
            common::chosen_file_charset(arguments).value_or(common::FileCharset::cp1250);
        ravelo::load_settings(reader, platform::program_folders("ravelo"));
        if (!ravelo::apply_command_line(reader, tail)) return kExitStartupFailed;
        // The settings ask for the form first, and without a terminal nobody can fill it in.
        if (!reader.command_line_mode && reader.settings.always_ask &&
            !common::has_controlling_terminal()) {
            reader.boxes.show_message(ravelo::kErrorCaption, ravelo::kNoTerminalMessage);
            return kExitStartupFailed;
        }
        const int result = ravelo::run_reader(reader);
        return exit_status(result, reader, ui);
    } catch (const std::exception& e) {
        common::TerminalMessageBoxes().show_message(ravelo::kErrorCaption, e.what());
        return kExitStartupFailed;
    }
}
