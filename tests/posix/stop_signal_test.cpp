// A stop signal during a transfer, as a user's Ctrl+C, a service manager's SIGTERM or a closed
// terminal's SIGHUP sends it: the transfer ends as a failed one, the port's settings are put
// back, and the exit status names the signal. Between online polls a signal is the user's stop.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "tests/support/posix/child_process.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace testing_support;

// The device's settings as another opener reads them back.
termios settings_of(const std::string& device) {
    termios t{};
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) tcgetattr(fd, &t);
    if (fd >= 0) close(fd);
    return t;
}

// The first file in `folder` whose name ends in ".TXT", or "".
std::string received_file(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.substr(name.size() - 4) == ".TXT") return entry.path();
    }
    return "";
}

struct Case {
    const char* name;
    const char* program;
    std::vector<std::string> terminal;  // velmora-sim's role and options
    std::string tail;                   // "@" stands for the case's folder
    std::string ready;                  // the signal goes once the terminal's wire shows this
    std::size_t ready_bytes;            // ... and the received file holds this much
    int signal;
    int exit_status;
    std::string received;   // the received file's content afterwards
    std::string shown;      // expected on the program's terminal
    std::string not_shown;  // a message a stop must not bring up
};

TEST(StopSignal, EndsTheTransferRestoresThePortAndNamesTheSignal) {
    const std::string offline = "@/DATA.TXT,1,1,1,1,1,1,0,0,0,2";  // errors shown, no question
    const std::string online = ",1,1,1,1,1,1,0,0,1,2";             // automatic names, every 2 s
    const std::vector<std::string> slow = {"source", "--generate", "6",     "--size",
                                           "10",     "--pause",    "3:5000"};
    const std::vector<std::string> silent = {"source", "--no-answer"};
    const std::vector<std::string> asleep = {"lookup", "--asleep"};
    const std::vector<std::string> two = {"source", "--generate", "2", "--size", "5"};
    const std::vector<Case> cases = {
        {"records arriving", "ravelo", slow, offline, "", 36, SIGTERM, 128 + SIGTERM,
         as_lines(sim::generate_records(3, 10)), "", "[Chyba]"},
        {"no answer yet", "ravelo", silent, offline, "|READ.|", 0, SIGINT, 128 + SIGINT, "", "",
         "[Chyba]"},
        {"terminal asleep", "lumbra", asleep, "@/list.txt", "|velmor.|", 0, SIGHUP, 128 + SIGHUP,
         "", "", "Lumbra"},
        {"online, during a transfer", "ravelo", slow, online, "", 36, SIGTERM, 128 + SIGTERM,
         as_lines(sim::generate_records(3, 10)), "Připraveno pro příjem dat", "[Chyba]"},
        {"online, between polls", "ravelo", two, online, "|OVER.|", 0, SIGINT, 0,
         as_lines(sim::generate_records(2, 5)), ", 2 záznamy; další dotaz za ", "[Chyba]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E2eRig rig;
        const auto& temp = rig.temp;
        write_bytes(temp.file("list.txt"), "a\r\nb\r\n");
        std::vector<std::string> sim_args{"--transcript", temp.file("wire.txt")};
        sim_args.insert(sim_args.end(), c.terminal.begin(), c.terminal.end());
        const std::string device = rig.start_terminal(sim_args);
        ASSERT_FALSE(device.empty());
        const termios before = settings_of(device);

        OnTerminal user({bin_dir() + "/" + c.program, with_folder(c.tail, temp.directory())},
                        rig.env(device), temp.directory());
        auto ready = [&] {
            const std::string file = received_file(temp.directory());
            return read_bytes(temp.file("wire.txt")).find(c.ready) != std::string::npos &&
                   (c.ready_bytes == 0 || (!file.empty() && fs::file_size(file) >= c.ready_bytes));
        };
        ASSERT_TRUE(eventually(ready, 10s)) << read_bytes(temp.file("wire.txt"));
        if (c.exit_status == 0) {
            ASSERT_TRUE(user.wait_for(c.shown)) << user.shown;
        }
        user.send_signal(c.signal);

        EXPECT_EQ(user.exit_status(), c.exit_status) << user.shown;
        const std::string file = received_file(temp.directory());
        EXPECT_EQ(file.empty() ? "" : read_bytes(file), c.received);
        EXPECT_TRUE(test_support::same_settings(settings_of(device), before))
            << "the port's settings stay changed";
        EXPECT_NE(user.shown.find(c.shown), std::string::npos) << user.shown;
        EXPECT_EQ(user.shown.find(c.not_shown), std::string::npos) << user.shown;
    }
}

}  // namespace
