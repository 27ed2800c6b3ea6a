// The port form: COM1..COM6 and the five speeds; only OK takes the choices over.
#include "sender/posix/port_form.h"

#include <optional>

#include "common/port_labels.h"
#include "common/posix/form_fields.h"
#include "common/posix/ports_report.h"
#include "common/posix/terminal_io.h"

namespace lumbra {

namespace {

enum Item { kPortItem, kBaudItem, kItemCount };

struct Choices {
    int port;
    int baud;
};

void draw(common::FormTerminal& terminal, const Choices& c) {
    std::string text = "\nNastavení COM portu pro přenos:\n\n";
    text += common::field_line(
        kPortItem + 1, "COM port :", common::port_with_device(c.port, common::kSenderPortCount));
    text += common::field_line(kBaudItem + 1,
                               "Rychlost :", common::choice_label(common::baud_labels(), c.baud));
    text += "\nČíslo položky ji změní. O nebo Enter = OK, Z nebo Esc = Zrušit.\nVolba: ";
    terminal.write(text);
}

void change(common::FormTerminal& terminal, Choices& c, std::optional<int> item) {
    if (item == kPortItem) {
        c.port = common::choose(terminal, "COM port", common::port_labels(common::kSenderPortCount),
                                c.port);
    } else if (item == kBaudItem) {
        c.baud = common::choose(terminal, "Rychlost", common::baud_labels(), c.baud);
    } else {
        terminal.write("Neznámá položka.\n");
    }
}

}  // namespace

common::DialogEnd run_port_form(SenderSettings& settings, common::FormTerminal& terminal) {
    Choices c{settings.port_index, settings.baud_index};
    for (;;) {
        draw(terminal, c);
        std::string answer;
        if (!terminal.read_line(answer)) return common::DialogEnd::cancelled;
        if (answer.empty() || answer == "O" || answer == "o") {
            settings.port_index = c.port;
            settings.baud_index = c.baud;
            return common::DialogEnd::ok;
        }
        if (answer == "Z" || answer == "z" || common::is_escape(answer))
            return common::DialogEnd::cancelled;
        change(terminal, c, common::numbered_choice(answer, kItemCount));
    }
}

common::DialogEnd show_port_form(SenderSettings& settings) {
    const int fd = common::open_controlling_terminal();
    if (fd < 0) return common::DialogEnd::cancelled;
    common::TtyFormTerminal terminal(fd);
    return run_port_form(settings, terminal);
}

}  // namespace lumbra
