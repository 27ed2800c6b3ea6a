// The terminal's counter line: the shared status line, drawn where the cursor stood at start.
#include "reader/posix/terminal_counter_screen.h"

#include "common/posix/terminal_io.h"

namespace ravelo {

int TerminalCounterScreen::screen_width() {
    return common::controlling_terminal_size().columns;
}

int TerminalCounterScreen::screen_height() {
    return common::controlling_terminal_size().rows;
}

int TerminalCounterScreen::text_width(const std::string& text) {
    return static_cast<int>(common::characters(text));
}

bool TerminalCounterScreen::save_background(const ScreenRect&) {
    return !quiet_ && line_.open();
}

void TerminalCounterScreen::paint_box(const ScreenRect&, const std::string& text) {
    line_.show(text);
}

void TerminalCounterScreen::restore_background(const ScreenRect&) {
    line_.close();
}

}  // namespace ravelo
