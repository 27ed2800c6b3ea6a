// Boxes on the terminal, or collected as one line of reasons for the polling log.
#include "reader/posix/reader_boxes.h"

#include "platform/printable_text.h"
#include "reader/reader_ui.h"

namespace ravelo {

namespace {

// A box's lines as one log line: a journal entry is one line.
std::string one_line(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            line += "; ";
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace

std::string ReaderBoxes::take_reasons() {
    std::string taken;
    taken.swap(reasons_);
    return taken;
}

void ReaderBoxes::show(const common::Box& box) {
    if (!diverted_) return TerminalMessageBoxes::show(box);
    if (box.caption != kErrorCaption) return;
    if (!reasons_.empty()) reasons_ += "; ";
    reasons_ += platform::printable(one_line(box.text));
}

bool ReaderBoxes::ask(const common::Box& box) {
    return diverted_ ? false : TerminalMessageBoxes::ask(box);
}

}  // namespace ravelo
