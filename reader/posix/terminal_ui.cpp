// The reader's terminal front end: the viewer for the received file, the form, the polling window.
#include "reader/posix/terminal_ui.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

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

// Starts argv[0] with the given arguments; waits for it only when asked to.
void run_program(const std::vector<std::string>& args, bool wait) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return;
    if (wait) {
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

}  // namespace

void TerminalUi::open_in_viewer(const std::string& path) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (((display && *display) || (wayland && *wayland)) && program_on_path("xdg-open")) {
        run_program({"xdg-open", path}, false);
        return;
    }
    const char* pager = std::getenv("PAGER");
    run_program({pager && *pager ? pager : (program_on_path("less") ? "less" : "more"), path},
                true);
}

int TerminalUi::run_properties_dialog(Reader& reader) {
    return show_properties_form(reader);
}

int TerminalUi::run_polling_window(Reader& reader) {
    return show_polling_window(reader);
}

}  // namespace ravelo
