// The received file shown on Linux: PAGER taken as the shell would, and no child left behind.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include "reader/posix/terminal_ui.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

// A program that writes its arguments, one per line, to `record` (whole once it exists).
void write_recorder(const std::string& program, const std::string& record) {
    testing_support::write_bytes(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record +
                                              ".part' && mv '" + record + ".part' '" + record +
                                              "'\n");
    ::chmod(program.c_str(), 0755);
}

// Sets an environment variable for the life of the guard.
class Environment {
  public:
    Environment(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        if (old) saved_ = old;
        had_ = old != nullptr;
        ::setenv(name, value.c_str(), 1);
    }
    ~Environment() {
        if (had_) {
            ::setenv(name_, saved_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

bool no_child_left() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(ReaderViewer, PagerWithArgumentsAndTheDesktopOpenerBothGetTheFileAndLeaveNoChild) {
    testing_support::TempDir temp;
    const std::string file = temp.file("přijatá data.txt");
    testing_support::write_bytes(file, "a\r\n");
    write_recorder(temp.file("viewer"), temp.file("pager-args"));
    write_recorder(temp.file("xdg-open"), temp.file("opener-args"));
    ravelo::TerminalUi ui;
    {
        const Environment no_display("DISPLAY", "");
        const Environment no_wayland("WAYLAND_DISPLAY", "");
        const Environment pager("PAGER", "'" + temp.file("viewer") + "' -R");
        ui.open_in_viewer(file);
    }
    EXPECT_EQ(testing_support::read_bytes(temp.file("pager-args")), "-R\n" + file + "\n");
    EXPECT_TRUE(no_child_left());
    {
        const Environment display("DISPLAY", ":0");
        const Environment path("PATH", temp.directory() + ":/usr/bin:/bin");
        ui.open_in_viewer(file);
    }
    EXPECT_EQ(testing_support::wait_for_file(temp.file("opener-args")), file + "\n");
    EXPECT_TRUE(no_child_left());
}

}  // namespace
