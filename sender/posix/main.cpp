// lumbra: loads a lookup table into the terminal, chosen on the terminal or named by a script.
#include <exception>
#include <string>

#include "common/port_labels.h"
#include "common/posix/command_line_tail.h"
#include "common/posix/program_notes.h"
#include "common/posix/terminal_io.h"
#include "common/posix/terminal_message_boxes.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/stop_signals.h"
#include "sender/command_line.h"
#include "sender/posix/terminal_ui.h"
#include "sender/run_sender.h"
#include "sender/sender.h"
#include "sender/sender_messages.h"
#include "sender/settings_file.h"
#include "sender/usage_text.h"

namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitRunFailed = 1;
constexpr int kExitCannotStart = 2;
constexpr int kExitBySignal = 128;  // plus the signal's number, as a shell reports it

const char* const kNameTheFile =
    "Bez terminálu nelze lookup soubor vybrat. Zadejte ho na příkazovém řádku: soubor, COM port "
    "1 až 6 a rychlost 1 až 5 (115200, 57600, 38400, 19200, 9600), např.\n"
    "  lumbra /cesta/seznam.txt,1,1";

const char* const kExitStatuses =
    "\nNávratový kód: 0 terminál převzal celý soubor, 1 cokoli jiného po spuštění,\n"
    "2 program nelze spustit, 128+n přenos ukončen signálem n.\n";

std::string usage() {
    return lumbra::command_line_help("lumbra", "/srv/data/seznam.txt") +
           common::linux_notes(lumbra::kSettingsFileName) + kExitStatuses;
}

}  // namespace

int main(int argc, char** argv) {
    const common::Arguments arguments = common::read_arguments(argc, argv);
    if (const auto status =
            common::answer_arguments(arguments, "lumbra", usage(), common::kSenderPortCount))
        return *status;
    const std::string& tail = arguments.tail;
    try {
        auto clock = platform::make_system_clock();
        auto ports = platform::make_system_serial_ports();
        lumbra::TerminalUi ui;
        lumbra::Sender sender(*ports, *clock, ui.boxes(), ui);
        sender.file_charset =
            common::chosen_file_charset(arguments).value_or(common::FileCharset::cp1250);
        if (!lumbra::apply_command_line(sender.settings, tail)) {
            ui.boxes().show_message(lumbra::kCaption, lumbra::kPathTooLong,
                                    common::BoxIcon::exclamation, common::BoxOwner::none);
            return kExitCannotStart;
        }
        // Without a terminal nobody can choose the file: a script must name it.
        if (!sender.settings.command_line_mode && !common::has_controlling_terminal()) {
            ui.boxes().show_message(lumbra::kCaption, kNameTheFile);
            return kExitCannotStart;
        }
        lumbra::run_sender(sender, platform::program_folders("lumbra"));
        if (platform::stop_signal() != 0) return kExitBySignal + platform::stop_signal();
        return sender.loaded ? kExitLoaded : kExitRunFailed;
    } catch (const std::exception& e) {
        common::TerminalMessageBoxes().show_message(lumbra::kCaption, e.what());
        return kExitCannotStart;
    }
}
