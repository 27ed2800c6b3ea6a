// Message boxes as terminal text; unattended runs are never held up by a question.
#include "common/posix/terminal_message_boxes.h"

#include <unistd.h>

#include "common/posix/terminal_io.h"

namespace common {

namespace {

// A box's line break (CR LF or LF) becomes one line break on the terminal.
std::string box_text(const Box& box) {
    std::string text;
    for (char c : box.text) {
        if (c != '\r') text += c;
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
