// Numbered form lines and choices, so both programs' terminal forms look and answer alike.
#include "common/posix/form_fields.h"

#include <cstdlib>

#include "common/posix/terminal_io.h"

namespace common {

namespace {

constexpr std::size_t kLabelColumns = 22;

std::string number_text(int n) {
    return (n < 10 ? " " : "") + std::to_string(n);
}

std::string usable_mark(bool usable) {
    return usable ? "" : "   (nepřístupné)";
}

}  // namespace

bool is_escape(const std::string& answer) {
    return !answer.empty() && answer[0] == kEscape;
}

bool keeps_value(const std::string& answer) {
    return answer.empty() || is_escape(answer);
}

std::string field_line(int item, const std::string& label, const std::string& value, bool usable) {
    std::string line = "  " + number_text(item) + "  " + label;
    const std::size_t width = characters(label);
    line.append(width < kLabelColumns ? kLabelColumns - width : 1, ' ');
    return line + value + usable_mark(usable) + "\n";
}

std::string box_line(int item, bool checked, const std::string& label, bool usable) {
    return "  " + number_text(item) + "  [" + (checked ? "x" : " ") + "] " + label +
           usable_mark(usable) + "\n";
}

std::string choice_label(const std::vector<std::string>& labels, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= labels.size()) return "(nic)";
    return labels[static_cast<std::size_t>(index)];
}

std::optional<int> numbered_choice(const std::string& answer, std::size_t count) {
    if (answer.empty()) return std::nullopt;
    char* end = nullptr;
    const long n = std::strtol(answer.c_str(), &end, 10);
    if (*end != '\0' || n < 1 || n > static_cast<long>(count)) return std::nullopt;
    return static_cast<int>(n - 1);
}

bool ask(FormTerminal& terminal, const std::string& prompt, std::string& answer) {
    terminal.write(prompt);
    if (!terminal.read_line(answer)) return false;
    return !keeps_value(answer);
}

int choose(FormTerminal& terminal, const std::string& label, const std::vector<std::string>& labels,
           int current) {
    std::string text;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        text += "  " + std::to_string(i + 1) + ") " + labels[i];
    }
    terminal.write(text + "\n");
    std::string answer;
    const std::string shown = current >= 0 ? std::to_string(current + 1) : "";
    if (!ask(terminal, label + " [" + shown + "]: ", answer)) return current;
    const std::optional<int> chosen = numbered_choice(answer, labels.size());
    if (!chosen) {
        terminal.write("Neplatná volba, hodnota zůstává.\n");
        return current;
    }
    return *chosen;
}

}  // namespace common
