// The reader's terminal front end: the viewer for the received file, the form, the polling window.
#include "reader/posix/terminal_ui.h"

#include <errno.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "reader/posix/polling_log.h"
#include "reader/posix/polling_window.h"
#include "reader/posix/properties_form.h"

extern char** environ;

namespace ravelo {

namespace {

bool program_on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

// Runs a shell command line with the file as its "$1" and waits for the shell, so that no child
// is left unreaped. A command ended by "&" returns at once: its job is then no child of ours.
void run_shell(const std::string& command, const std::string& path) {
    const char* argv[] = {"sh", "-c", command.c_str(), "sh", path.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

void TerminalUi::open_in_viewer(const std::string& path) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (((display && *display) || (wayland && *wayland)) && program_on_path("xdg-open")) {
        // The desktop's viewer outlives the run; it goes on in the background.
        run_shell("xdg-open \"$1\" >/dev/null 2>&1 &", path);
        return;
    }
    // As the shell would take it: a PAGER such as "less -R" carries its own arguments.
    const char* pager = std::getenv("PAGER");
    const std::string command =
        pager && *pager ? pager : (program_on_path("less") ? "less" : "more");
    run_shell(command + " \"$1\"", path);
}

common::DialogEnd TerminalUi::run_properties_dialog(Reader& reader) {
    return show_properties_form(reader);
}

PollingEnd TerminalUi::run_polling_window(Reader& reader) {
    // Nobody to press a key and perhaps nobody to see the screen: a service's journal reads
    // the log, so nothing is drawn.
    if (!::isatty(STDIN_FILENO)) {
        polling_logged_ = true;
        counter_.keep_quiet();
        return run_polling_log(reader, boxes_, &polling_stopped_by_user_);
    }
    return show_polling_window(reader, &polling_stopped_by_user_);
}

}  // namespace ravelo
