// A line drawn in place on the controlling terminal and erased afterwards (counter, progress).
#pragma once

#include <string>

namespace common {

struct TerminalSize {
    int columns = 0;
    int rows = 0;
};

// The controlling terminal's size in character cells; zeros without a terminal.
TerminalSize controlling_terminal_size();

// Draws on /dev/tty, so it shows even when standard output and error are redirected; with no
// controlling terminal it draws nothing. The line starts where the cursor stood at open().
class TerminalStatusLine {
  public:
    TerminalStatusLine() = default;
    ~TerminalStatusLine();
    TerminalStatusLine(const TerminalStatusLine&) = delete;
    TerminalStatusLine& operator=(const TerminalStatusLine&) = delete;

    // Remembers the cursor's place; false (and nothing drawn later) without a terminal.
    bool open();
    bool is_open() const { return tty_ >= 0; }
    // Replaces the line's text, cut to the terminal's width.
    void show(const std::string& text);
    // Leaves the line as it was before open() and the cursor at its start; still open.
    void hide();
    // After others wrote below a hidden line: draws the last text again where the cursor is.
    void show_again();
    // Hides the line and lets the terminal go.
    void close();

  private:
    void release();
    int tty_ = -1;
    int columns_ = 0;
    std::string text_;
};

}  // namespace common
