// The terminal's counter line: the shared status line, drawn where the cursor stood at start.
#include "reader/posix/terminal_counter_view.h"

#include <string>

namespace ravelo {

void TerminalCounterView::start() {
    showing_ = !quiet_ && line_.open();
}

void TerminalCounterView::show(int count) {
    line_.show(kCounterPrefix + std::to_string(count));
}

void TerminalCounterView::finish() {
    if (!showing_) return;
    line_.close();
    showing_ = false;
}

}  // namespace ravelo
