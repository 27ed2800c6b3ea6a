// The counter line on the controlling terminal: shown in place while records arrive, and the
// line left as it was once the transfer ends; nothing at all without a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "reader/posix/terminal_counter_view.h"
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

// Runs body in a child whose controlling terminal is the pty's slave (or none at all).
int run_child(const test_support::PtyPair* pty, const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        alarm(10);
        if (pty && open(pty->slave_path().c_str(), O_RDWR) < 0) _exit(90);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TerminalCounter, ShowsTheCountInPlaceAndLeavesTheLineAsItWas) {
    test_support::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_EQ(run_child(&pty,
                        [&] {
                            ravelo::TerminalCounterView counter;
                            counter.start();
                            if (!counter.showing()) return 1;
                            counter.show(9);
                            counter.show(10);
                            return 0;
                        }),
              0);
    const auto shown = pty.read_master(4096, 300);
    const std::string bytes(shown.begin(), shown.end());
    EXPECT_EQ(render_line(bytes, "$ ravelo"),
              "$ ravelo"
              "Počet přijatých záznamů: 10");

    test_support::PtyPair again;
    ASSERT_TRUE(again.ok());
    ASSERT_EQ(run_child(&again,
                        [&] {
                            ravelo::TerminalCounterView counter;
                            counter.start();
                            counter.show(123);
                            counter.finish();
                            return 0;
                        }),
              0);
    const auto all = again.read_master(4096, 300);
    EXPECT_EQ(render_line(std::string(all.begin(), all.end()), "$ ravelo"), "$ ravelo");
}

TEST(TerminalCounter, WithoutATerminalNothingIsSavedOrDrawn) {
    EXPECT_EQ(run_child(nullptr,
                        [] {
                            ravelo::TerminalCounterView counter;
                            counter.start();
                            const bool saved = counter.showing();
                            counter.show(1);
                            counter.finish();
                            return saved ? 1 : 0;
                        }),
              0);
}

}  // namespace
