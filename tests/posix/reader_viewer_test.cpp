// The received file shown on Linux: PAGER taken as the shell would, and no child left behind.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "reader/posix/terminal_ui.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

using namespace testing_support;

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
