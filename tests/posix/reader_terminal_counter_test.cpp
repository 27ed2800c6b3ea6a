// The counter line on the controlling terminal: shown in place while records arrive, and the
// line left as it was once the transfer ends; nothing at all without a terminal.
#include <gtest/gtest.h>

#include <string>

#include "reader/posix/terminal_counter_view.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/posix/pty_pair.h"

namespace {

// One terminal line as a terminal shows it: printable text at the cursor, DEC save and restore
// of the cursor (ESC 7, ESC 8), and erase to the end of the line (ESC [ K).
std::string render_line(const std::string& bytes, const std::string& before) {
    std::string line = before;
    std::size_t cursor = line.size();
    std::size_t saved = cursor;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes.compare(i, 2, "\0337") == 0) {
            saved = cursor;
            ++i;
        } else if (bytes.compare(i, 2, "\0338") == 0) {
            cursor = saved;
            ++i;
        } else if (bytes.compare(i, 3, "\033[K") == 0) {
            line.erase(cursor);
            i += 2;
        } else {
            line.resize(std::max(line.size(), cursor + 1));
            line[cursor++] = bytes[i];
        }
    }
    return line;
}

using testing_support::child_status;
using testing_support::start_child;

TEST(TerminalCounter, ShowsTheCountInPlaceAndLeavesTheLineAsItWas) {
    const struct {
        const char* name;
        std::vector<int> counts;
        bool finish;
        std::string line;  // the terminal's line afterwards
    } cases[] = {{"while records arrive", {9, 10}, false, "$ raveloPočet přijatých záznamů: 10"},
                 {"once the transfer ends", {123}, true, "$ ravelo"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::PtyPair pty;
        ASSERT_TRUE(pty.ok());
        const auto body = [&] {
            ravelo::TerminalCounterView counter;
            counter.start();
            if (!counter.showing()) return 1;
            for (int count : c.counts) counter.show(count);
            if (c.finish) counter.finish();
            return 0;
        };
        ASSERT_EQ(child_status(start_child(body, pty.slave_path())), 0);
        const auto shown = pty.read_master(4096, 300);
        EXPECT_EQ(render_line(std::string(shown.begin(), shown.end()), "$ ravelo"), c.line);
    }
}

TEST(TerminalCounter, WithoutATerminalNothingIsSavedOrDrawn) {
    EXPECT_EQ(child_status(start_child([] {
                  ravelo::TerminalCounterView counter;
                  counter.start();
                  const bool saved = counter.showing();
                  counter.show(1);
                  counter.finish();
                  return saved ? 1 : 0;
              })),
              0);
}

}  // namespace
