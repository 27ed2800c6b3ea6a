// ravelo as a user or a script runs it, against velmora-sim on a pseudo-terminal, in real time.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "platform/text.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

using namespace std::chrono_literals;
using testing_support::as_lines;
using testing_support::BackgroundProcess;
using testing_support::ProcessResult;
using testing_support::read_bytes;
using testing_support::write_bytes;

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
class RaveloE2e : public ::testing::Test, public testing_support::E2eRig {
  protected:
    RaveloE2e() : E2eRig({"ravelo"}) {
        std::filesystem::create_directories(temp.file("config/velmora"));
    }

    std::string start_terminal(std::vector<std::string> args) {
        args.insert(args.begin(), "source");
        return E2eRig::start_terminal(args);
    }

    ProcessResult run(const std::string& device, std::vector<std::string> args) {
        args.insert(args.begin(), "ravelo");
        return E2eRig::run(args, env(device));
    }

    // ravelo as a service starts it: no terminal, standard output read line by line.
    std::unique_ptr<BackgroundProcess> start_service(const std::string& device,
                                                     const std::string& tail) {
        return start({"ravelo", tail}, env(device));
    }

    std::string settings_file() const { return temp.file("config/velmora/Ravelo.ini"); }

    std::string output(const std::string& name = "DATA.TXT") const { return temp.file(name); }
};

TEST_F(RaveloE2e, CommandLineModeWritesTheBatchByteExact) {
    const std::string records = binary_records_file();
    write_bytes(temp.file("records.bin"), records);
    const std::string device = start_terminal({"--records", temp.file("records.bin")});
    const ProcessResult result = run(device, {"DATA.TXT,1,1,1,1,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(read_bytes(output()), records);
    EXPECT_EQ(result.err, "");

    // In UTF-8 every record is converted; the five bytes code page 1250 leaves undefined stay.
    const ProcessResult utf8 = run(start_terminal({"--records", temp.file("records.bin")}),
                                   {"--charset=utf-8", "UTF8.TXT,1,1,1,1,1,1,0,0,0,2"});
    EXPECT_EQ(utf8.exit_status, 0) << utf8.err;
    EXPECT_EQ(read_bytes(output("UTF8.TXT")), platform::cp1250_to_utf8_keeping_undefined(records));
}

TEST_F(RaveloE2e, RecordFlagsAndAGeneratedBatch) {
    const std::string device = start_terminal({"--generate", "40", "--size", "251"});
    // No CR, LF only; the speed digit 5 (9600 bit/s) is applied to the line.
    const ProcessResult result = run(device, {"DATA.TXT,1,5,1,0,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(read_bytes(output()), as_lines(sim::generate_records(40, 251), "\n"));
}

TEST_F(RaveloE2e, NoRecordsLeavesNoFileButAnAppendedFileUntouched) {
    const std::string device = start_terminal({"--generate", "0"});
    ProcessResult result = run(device, {"DATA.TXT,1,1,1,1,1,1,1,0,0,2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_FALSE(std::filesystem::exists(output()));
    EXPECT_NE(result.err.find("[Příjem dat] žádná data nepřijata!"), std::string::npos)
        << result.err;

    write_bytes(output("OLD.TXT"), "kept\r\n");
    result = run(device, {"OLD.TXT,1,1,2,1,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(read_bytes(output("OLD.TXT")), "kept\r\n");
}

TEST_F(RaveloE2e, ATerminalFallingSilentAfterThreeRecordsLeavesThoseThree) {
    const std::string device =
        start_terminal({"--generate", "10", "--size", "12", "--silent-from", "3"});
    const ProcessResult result = run(device, {"DATA.TXT,1,1,1,1,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 1) << "a transfer that failed is not reported as success";
    EXPECT_EQ(read_bytes(output()), as_lines(sim::generate_records(3, 12)));
    EXPECT_NE(result.err.find("[Chyba] Čas vypršel!"), std::string::npos) << result.err;
    // Ten NAKs 300 ms apart, then the eleventh expiry.
    EXPECT_GE(result.took, 3300ms);
    EXPECT_LT(result.took, 5000ms);
}

TEST_F(RaveloE2e, AMissingPortIsReportedOnlyWhenErrorsAreShown) {
    ProcessResult result = run("/nonexistent/tty", {"DATA.TXT,1,1,1,1,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err,
              "[Chyba] Nepodařilo se otevřít COM port\nCOM1 = /nonexistent/tty: No such file or "
              "directory\nJe převodník USB připojen? Připojené porty: ls /dev/ttyUSB* "
              "/dev/ttyACM* /dev/ttyS*\n");
    result = run("/nonexistent/tty", {"DATA.TXT,1,1,1,1,1,0,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(std::filesystem::exists(output()));
}

TEST_F(RaveloE2e, ASilentTerminalTimesOutAfterFourRequests) {
    const std::string device = start_terminal({"--no-answer"});
    const ProcessResult result = run(device, {"DATA.TXT,1,1,1,1,1,1,0,0,0,2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, "[Chyba] Čas vypršel!\n");
    EXPECT_FALSE(std::filesystem::exists(output())) << "no answer, no file";
    EXPECT_GE(result.took, 8000ms);
    EXPECT_LT(result.took, 9500ms);
}

TEST_F(RaveloE2e, TheCommandLineWinsOverAlwaysAskAndLeavesTheSettingsFile) {
    std::filesystem::create_directory(temp.file("out"));
    const std::string settings =
        temp.file("out") + "/\r\nJINY.TXT\r\n2\r\n5\r\n4\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n7";
    write_bytes(settings_file(), settings);
    const std::string device = start_terminal({"--generate", "2", "--size", "5"});
    const ProcessResult result = run(device, {"DATA.TXT"});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    // The name comes from the command line, the folder from the settings file.
    EXPECT_EQ(read_bytes(temp.file("out/DATA.TXT")).size(), 2u * (5 + 2));
    EXPECT_EQ(read_bytes(settings_file()), settings);
    // With no terminal to ask on, the offer to show the file is answered No.
    EXPECT_NE(result.err.find("Hotovo : 2 záznamů přijato.\nZobrazit přijatá data?"),
              std::string::npos)
        << result.err;
}

TEST_F(RaveloE2e, WithoutATerminalTheDialogCannotRunAndNothingHappens) {
    const std::string settings =
        temp.directory() + "\r\nDATA.TXT\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n2";
    write_bytes(settings_file(), settings);
    const std::string device = start_terminal({"--generate", "2"});
    const ProcessResult result = run(device, {});
    EXPECT_EQ(result.exit_status, 2) << "could not start, as lumbra without a file";
    EXPECT_NE(result.err.find("[Chyba]"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(output()));
    EXPECT_EQ(read_bytes(settings_file()), settings);
}

// Online with no terminal, as a service: one plain line per event for the journal, a failure
// that repeats said once, and SIGTERM between transfers a normal end.
TEST_F(RaveloE2e, OnlineWithoutATerminalLogsEachEventAndEndsCleanlyOnSigterm) {
    const std::string stamp = "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d COM1";
    const std::string device = start_terminal({"--generate", "2", "--size", "5"});
    auto service = start_service(device, temp.directory() + ",1,1,1,1,1,1,1,0,1,2");
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
    service = start_service("/nonexistent/tty", ",1,1,1,1,1,1,0,0,1,1");
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
