// ravelo as a user or a script runs it, against velmora-sim on a pseudo-terminal, in real time.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <thread>

#include "platform/text.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;

// Every byte value but CR and LF, in records of varied length: what a terminal may collect.
std::string binary_records_file() {
    std::string content;
    int length = 1;
    std::string line;
    for (int b = 0; b < 256; ++b) {
        if (b == 0x0D || b == 0x0A) continue;
        line += static_cast<char>(b);
        if (static_cast<int>(line.size()) == length) {
            content += line + "\r\n";
            line.clear();
            length = length % 60 + 7;
        }
    }
    return content + line + "\r\n";
}

// ravelo copied into a folder of its own, run there with a settings folder of its own, so its
// settings file and output stay private.
class RaveloE2e : public ::testing::Test, public E2eRig {
  protected:
    RaveloE2e() : E2eRig({"ravelo"}) {
        std::filesystem::create_directories(temp.file("config/velmora"));
        std::filesystem::create_directory(temp.file("out"));
    }
    std::string start_terminal(std::vector<std::string> args) {
        args.insert(args.begin(), "source");
        return E2eRig::start_terminal(args);
    }
    std::string settings_file() const { return temp.file("config/velmora/Ravelo.ini"); }
};

// A run from a script: its exit status, what it says, the file it leaves and how long it takes.
TEST_F(RaveloE2e, CommandLineRuns) {
    const std::string records = binary_records_file();
    write_bytes(temp.file("records.bin"), records);
    const std::vector<std::string> binary = {"--records", temp.file("records.bin")};
    const std::string shown = ",1,1,1,1,1,1,0,0,0,2";  // errors shown, no question
    const std::string missing_port =
        "[Chyba] Nepodařilo se otevřít COM port\nCOM1 = /nonexistent/tty: No such file or "
        "directory\nJe převodník USB připojen? Připojené porty: ls /dev/ttyUSB* /dev/ttyACM* "
        "/dev/ttyS*\n";
    struct Case {
        const char* name;
        std::vector<std::string> terminal;  // empty: COM1 leads nowhere
        std::vector<std::string> args;
        int exit_status;
        std::string err;
        bool whole_err;  // err is all it says, not only a part
        std::string file;
        std::optional<std::string> content;  // none: no such file afterwards
        std::string settings;                // the settings file, which stays as it was
        std::string before;                  // in `file` before the run
        std::chrono::milliseconds took_min, took_max;
    };
    const auto row =
        [](const char* name, std::vector<std::string> sim, std::vector<std::string> args,
           int status, std::string err, bool whole_err, std::string file,
           std::optional<std::string> content, std::string settings = "", std::string before = "",
           std::chrono::milliseconds took_min = 0ms, std::chrono::milliseconds took_max = 20000ms) {
            return Case{name, sim,     args,     status, err,      whole_err,
                        file, content, settings, before, took_min, took_max};
        };
    const std::vector<Case> cases = {
        row("every byte but CR and LF", binary, {"DATA.TXT" + shown}, 0, "", true, "DATA.TXT",
            records),
        // In UTF-8 every record is converted; the five bytes code page 1250 leaves undefined stay.
        row("the same in UTF-8", binary, {"--charset=utf-8", "UTF8.TXT" + shown}, 0, "", false,
            "UTF8.TXT", platform::cp1250_to_utf8_keeping_undefined(records)),
        // No CR, LF only; the speed digit 5 (9600 bit/s) is applied to the line.
        row("LF only at 9600 bit/s", {"--generate", "40", "--size", "251"},
            {"DATA.TXT,1,5,1,0,1,1,0,0,0,2"}, 0, "", false, "DATA.TXT",
            as_lines(sim::generate_records(40, 251), "\n")),
        row("no records: no file", {"--generate", "0"}, {"DATA.TXT,1,1,1,1,1,1,1,0,0,2"}, 1,
            "[Příjem dat] žádná data nepřijata!", false, "DATA.TXT", std::nullopt),
        row("no records: an appended file untouched", {"--generate", "0"},
            {"OLD.TXT,1,1,2,1,1,1,0,0,0,2"}, 1, "", false, "OLD.TXT", "kept\r\n", "", "kept\r\n"),
        // A transfer that failed is not reported as success. Ten NAKs 300 ms apart, then the
        // eleventh expiry.
        row("silent after three records",
            {"--generate", "10", "--size", "12", "--silent-from", "3"}, {"DATA.TXT" + shown}, 1,
            "[Chyba] Čas vypršel!", false, "DATA.TXT", as_lines(sim::generate_records(3, 12)), "",
            "", 3300ms, 5000ms),
        row("a missing port, errors shown", {}, {"DATA.TXT" + shown}, 1, missing_port, true,
            "DATA.TXT", std::nullopt),
        row("a missing port, errors not shown", {}, {"DATA.TXT,1,1,1,1,1,0,0,0,0,2"}, 1, "", true,
            "DATA.TXT", std::nullopt),
        row("no answer: four requests", {"--no-answer"}, {"DATA.TXT" + shown}, 1,
            "[Chyba] Čas vypršel!\n", true, "DATA.TXT", std::nullopt, "", "", 8000ms, 9500ms),
        // The name comes from the command line, the folder from the settings file; with no
        // terminal to ask on, the offer to show the file is answered No.
        row("the command line wins over always-ask", {"--generate", "2", "--size", "5"},
            {"DATA.TXT"}, 0, "Hotovo : 2 záznamů přijato.\nZobrazit přijatá data?", false,
            "out/DATA.TXT", as_lines(sim::generate_records(2, 5)),
            temp.file("out") + "/\r\nJINY.TXT\r\n2\r\n5\r\n4\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n7"),
        // Without a terminal the dialog cannot run: it could not start, as lumbra without a file.
        row("the dialog without a terminal", {"--generate", "2"}, {}, 2, "[Chyba]", false,
            "DATA.TXT", std::nullopt,
            temp.directory() + "\r\nDATA.TXT\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n2"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(temp.file(c.file));
        if (!c.before.empty()) write_bytes(temp.file(c.file), c.before);
        std::filesystem::remove(settings_file());
        if (!c.settings.empty()) write_bytes(settings_file(), c.settings);
        const std::string device =
            c.terminal.empty() ? "/nonexistent/tty" : start_terminal(c.terminal);
        std::vector<std::string> argv = c.args;
        argv.insert(argv.begin(), "ravelo");
        const ProcessResult result = run(argv, env(device));
        EXPECT_EQ(result.exit_status, c.exit_status) << result.err;
        if (c.whole_err) {
            EXPECT_EQ(result.err, c.err);
        } else {
            EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        }
        if (c.content) {
            EXPECT_EQ(read_bytes(temp.file(c.file)), *c.content);
        } else {
            EXPECT_FALSE(std::filesystem::exists(temp.file(c.file)));
        }
        if (!c.settings.empty()) {
            EXPECT_EQ(read_bytes(settings_file()), c.settings);
        }
        EXPECT_GE(result.took.count(), c.took_min.count());
        EXPECT_LT(result.took.count(), c.took_max.count());
    }
}

// Online with no terminal, as a service: one plain line per event for the journal, a failure
// that repeats said once, and SIGTERM between transfers a normal end.
TEST_F(RaveloE2e, OnlineWithoutATerminalLogsEachEventAndEndsCleanlyOnSigterm) {
    const std::string stamp = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d COM1";
    const std::string device = start_terminal({"--generate", "2", "--size", "5"});
    auto service = start({"ravelo", temp.directory() + ",1,1,1,1,1,1,1,0,1,2"}, env(device));
    const std::string started = service->read_line(5s);
    EXPECT_TRUE(std::regex_match(
        started, std::regex(stamp + " \\(" + device + "\\): online příjem, interval dotazů 2 s")))
        << started;
    const std::string batch = service->read_line(10s);
    std::smatch file;
    ASSERT_TRUE(std::regex_match(batch, file, std::regex(stamp + ": (.*\\.TXT), 2 záznamy")))
        << batch;
    EXPECT_EQ(read_bytes(file[1]).size(), 2u * (5 + 2));
    service->send_signal(SIGTERM);
    const std::string ended = service->read_line(5s);
    EXPECT_TRUE(std::regex_match(ended, std::regex(stamp + ": příjem ukončen signálem 15")))
        << ended;
    EXPECT_EQ(service->wait(5s), 0);

    // An unplugged adapter: said on the first poll, not again on the next.
    service = start({"ravelo", ",1,1,1,1,1,1,0,0,1,1"}, env("/nonexistent/tty"));
    EXPECT_NE(service->read_line(5s), "");
    const std::string failed = service->read_line(5s);
    EXPECT_TRUE(std::regex_match(
        failed, std::regex(stamp + ": Nepodařilo se otevřít COM port; COM1 = /nonexistent/tty: "
                                   "No such file or directory; Je převodník USB připojen\\? .*")))
        << failed;
    std::this_thread::sleep_for(1500ms);
    service->send_signal(SIGTERM);
    EXPECT_TRUE(std::regex_match(service->read_line(5s), std::regex(stamp + ": příjem ukončen.*")));
    EXPECT_EQ(service->wait(5s), 0) << "a stop before any batch is no failure for a service";
}

}  // namespace
