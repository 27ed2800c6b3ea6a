// The reader on a Linux terminal: the counter line shown in place while records arrive and the
// line left as it was once the transfer ends (nothing at all without a terminal), and the received
// file shown with PAGER taken as the shell would, no child left behind.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <string>

#include "reader/posix/terminal_counter_view.h"
#include "reader/posix/terminal_ui.h"
#include "tests/support/posix/e2e_rig.h"
#include "tests/support/posix/pty_pair.h"

namespace {

using namespace testing_support;

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

using namespace testing_support;

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

// A program that writes its arguments, one per line, to `record` (whole once it exists).
void write_recorder(const std::string& program, const std::string& record) {
    write_bytes(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".part' && mv '" +
                             record + ".part' '" + record + "'\n");
    ::chmod(program.c_str(), 0755);
}

bool no_child_left() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(ReaderViewer, PagerWithArgumentsAndTheDesktopOpenerBothGetTheFileAndLeaveNoChild) {
    TempDir temp;
    const std::string file = temp.file("přijatá data.txt");
    write_bytes(file, "a\r\n");
    write_recorder(temp.file("viewer"), temp.file("pager-args"));
    write_recorder(temp.file("xdg-open"), temp.file("opener-args"));
    ravelo::TerminalUi ui;
    {
        const ScopedEnv no_display("DISPLAY", "");
        const ScopedEnv no_wayland("WAYLAND_DISPLAY", "");
        const ScopedEnv pager("PAGER", "'" + temp.file("viewer") + "' -R");
        ui.open_in_viewer(file);
    }
    EXPECT_EQ(read_bytes(temp.file("pager-args")), "-R\n" + file + "\n");
    EXPECT_TRUE(no_child_left());
    {
        const ScopedEnv display("DISPLAY", ":0");
        const ScopedEnv path("PATH", temp.directory() + ":/usr/bin:/bin");
        ui.open_in_viewer(file);
    }
    EXPECT_EQ(wait_for_file(temp.file("opener-args")), file + "\n");
    EXPECT_TRUE(no_child_left());
}

}  // namespace
