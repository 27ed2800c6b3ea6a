// Message boxes as terminal text; unattended runs are never held up by a question.
#include "common/posix/terminal_message_boxes.h"

#include <unistd.h>

#include "common/posix/terminal_io.h"
#include "platform/printable_text.h"

namespace common {

namespace {

// A box's line break (CR LF or LF) becomes one line break on the terminal; any other control
// character (from a name in the text) is shown escaped.
std::string box_text(const Box& box) {
    std::string text;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i <= box.text.size(); ++i) {
        if (i < box.text.size() && box.text[i] != '\n') continue;
        std::size_t line_end = i;
        if (line_end > line_start && box.text[line_end - 1] == '\r') --line_end;
        if (line_start > 0) text += '\n';
        text += platform::printable(
            std::string_view(box.text).substr(line_start, line_end - line_start));
        line_start = i + 1;
    }
    return "[" + box.caption + "] " + text;
}

}  // namespace

void TerminalMessageBoxes::show(const Box& box) {
    write_all(STDERR_FILENO, box_text(box) + "\n");
}

bool TerminalMessageBoxes::ask(const Box& box) {
    const int tty = open_controlling_terminal();
    if (tty < 0) {
        write_all(STDERR_FILENO, box_text(box) + " -> Ne (bez terminálu)\n");
        return false;
    }
    write_all(tty, box_text(box) + " [a/N] ");
    std::string answer;
    {
        const EscEndsLines escape_ends_line(tty);
        read_line(tty, answer);
    }
    ::close(tty);
    return !answer.empty() &&
           (answer[0] == 'a' || answer[0] == 'A' || answer[0] == 'y' || answer[0] == 'Y');
}

}  // namespace common
