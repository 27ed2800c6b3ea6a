// The terminal form: every field with its value, numbered choices, the dialog's rules and enabling.
#include "reader/posix/properties_form.h"

#include <cstdlib>

#include "common/port_labels.h"
#include "common/posix/form_fields.h"
#include "common/posix/ports_report.h"
#include "common/posix/terminal_io.h"
#include "platform/printable_text.h"
#include "reader/properties_rules.h"

namespace ravelo {

namespace {

using common::box_line;
using common::choice_label;
using common::field_line;

enum Item {
    kDirectoryItem = 1,
    kFileNameItem,
    kPortItem,
    kBaudItem,
    kFileModeItem,
    kAppendCrItem,
    kAppendLfItem,
    kShowErrorsItem,
    kShowReceivedItem,
    kAlwaysAskItem,
    kOnlineItem,
    kIntervalItem,
};

struct Form {
    Reader& reader;
    FormTerminal& terminal;
    PropertiesView view;
};

void draw(Form& form) {
    const PropertiesView& v = form.view;
    std::string text = "\nČtení dat přes RS-232 (Ver 4.10)\n\n";
    text += field_line(kDirectoryItem, "Adresář :", platform::printable(v.directory));
    text += field_line(kFileNameItem, "Jméno souboru :", platform::printable(v.file_name));
    text += field_line(kPortItem, "COM port :", common::port_with_device(v.port, kPortCount));
    text += field_line(kBaudItem, "Přen. rychlost :", choice_label(common::baud_labels(), v.baud));
    text += field_line(kFileModeItem,
                       "Mód souboru :", choice_label(file_mode_labels(v.online), v.file_mode));
    text += box_line(kAppendCrItem, v.append_cr, "Přidat znak RETURN ke každému záznamu");
    text += box_line(kAppendLfItem, v.append_lf, "Přidat znak LINEFEED ke každému záznamu");
    text += box_line(kShowErrorsItem, v.show_errors, "Zobrazovat chybová hlášení");
    text += box_line(kShowReceivedItem, v.show_received, "Zobrazit přijatá data",
                     show_received_enabled(v.online));
    text += box_line(kAlwaysAskItem, v.always_ask, "Vždy použít tento dialog");
    text += box_line(kOnlineItem, v.online, "Udržovat online pro automatický příjem dat");
    text += field_line(kIntervalItem, "Interval dotazů :", v.interval + " (1 ~ 9999 sec)",
                       interval_enabled(v.online));
    text +=
        "\nČíslo položky ji změní (zaškrtávací políčko přepne). O = OK, S nebo Esc = Storno.\n"
        "U hodnoty ponechá dosavadní hodnotu prázdná odpověď (Enter) nebo Esc.\n";
    form.terminal.write(text);
}

bool ask(Form& form, const std::string& prompt, std::string& answer) {
    return common::ask(form.terminal, prompt, answer);
}

void edit_text(Form& form, const std::string& label, std::string& value) {
    std::string answer;
    if (ask(form, label + " [" + value + "]: ", answer)) value = answer;
}

int choose(Form& form, const std::string& label, const std::vector<std::string>& labels,
           int current) {
    return common::choose(form.terminal, label, labels, current);
}

void edit_interval(Form& form) {
    std::string answer;
    if (!ask(form, "Interval dotazů [" + form.view.interval + "] (1 ~ 9999 sec): ", answer)) {
        return;
    }
    form.view.interval = settle_interval_text(form.reader.settings, answer);
    if (form.view.interval != answer) {
        form.terminal.write("Interval upraven na " + form.view.interval + ".\n");
    }
}

void not_usable(Form& form, int item) {
    form.terminal.write("Položka " + std::to_string(item) + " teď není přístupná.\n");
}

void change(Form& form, int item) {
    PropertiesView& v = form.view;
    ReaderSettings& s = form.reader.settings;
    switch (item) {
        case kDirectoryItem:
            edit_text(form, "Adresář", v.directory);
            break;
        case kFileNameItem:
            edit_text(form, "Jméno souboru", v.file_name);
            break;
        case kPortItem:
            v.port = choose(form, "COM port", common::port_labels(kPortCount), v.port);
            break;
        case kBaudItem:
            v.baud = choose(form, "Přen. rychlost", common::baud_labels(), v.baud);
            break;
        case kFileModeItem:
            v.file_mode = choose(form, "Mód souboru", file_mode_labels(v.online), v.file_mode);
            if (v.file_mode >= 0) s.file_mode = v.file_mode;
            break;
        case kAppendCrItem:
            v.append_cr = !v.append_cr;
            break;
        case kAppendLfItem:
            v.append_lf = !v.append_lf;
            break;
        case kShowErrorsItem:
            v.show_errors = !v.show_errors;
            break;
        case kShowReceivedItem:
            if (!show_received_enabled(v.online)) return not_usable(form, item);
            v.show_received = !v.show_received;
            break;
        case kAlwaysAskItem:
            v.always_ask = !v.always_ask;
            break;
        case kOnlineItem:
            switch_online(s, v);
            break;
        case kIntervalItem:
            if (!interval_enabled(v.online)) return not_usable(form, item);
            edit_interval(form);
            break;
        default:
            form.terminal.write("Neznámá položka.\n");
            break;
    }
}

}  // namespace

common::DialogEnd run_properties_form(Reader& reader, FormTerminal& terminal) {
    Form form{reader, terminal, open_properties(reader.settings)};
    for (;;) {
        draw(form);
        terminal.write("Volba: ");
        std::string answer;
        if (!terminal.read_line(answer)) return common::DialogEnd::cancelled;
        if (answer == "O" || answer == "o") {
            accept_properties(reader.settings, reader.output_path, form.view);
            return common::DialogEnd::ok;
        }
        if (answer == "S" || answer == "s" || common::is_escape(answer)) {
            return common::DialogEnd::cancelled;
        }
        if (answer.empty()) continue;
        char* end = nullptr;
        long item = std::strtol(answer.c_str(), &end, 10);
        change(form, *end == '\0' ? static_cast<int>(item) : 0);
    }
}

common::DialogEnd show_properties_form(Reader& reader) {
    const int fd = common::open_controlling_terminal();
    if (fd < 0) {
        reader.boxes.show_message(kErrorCaption, kNoTerminalMessage);
        return common::DialogEnd::cancelled;
    }
    common::TtyFormTerminal terminal(fd);
    return run_properties_form(reader, terminal);
}

}  // namespace ravelo
