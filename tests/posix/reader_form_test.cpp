// The terminal properties form and polling window: texts shown, rules applied, no terminal at all.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "reader/posix/polling_window.h"
#include "reader/posix/properties_form.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/posix/pty_pair.h"
#include "tests/support/posix/scripted_terminal.h"
#include "tests/support/recording_ui.h"
#include "tools/simulated-line/virtual_clock.h"

namespace ravelo {
namespace {

using namespace testing_support;

class NoPorts : public platform::SerialPorts {
  public:
    platform::OpenedLine open(unsigned, const platform::LineSettings&) override {
        ++opens;
        return {};
    }
    int opens = 0;
};

// The last drawing of the form: the text from its caption to the prompt.
std::string last_form(const std::string& shown) {
    return shown.substr(shown.rfind("Čtení dat přes RS-232"));
}

class FormTest : public ::testing::Test {
  protected:
    FormTest() {
        reader.settings.directory = "/data/in";
        reader.settings.file_name = "zaznamy.txt";
        reader.output_path = "unchanged";
    }
    // Runs `body` in a child on a cooked terminal of its own: the terminal must show `expected`
    // within limit_ms, then gets `keys`. What the child returned.
    int on_terminal(const std::function<int()>& body, int limit_ms, const std::string& expected,
                    const std::vector<std::uint8_t>& keys) {
        test_support::PtyPair pty;
        EXPECT_TRUE(pty.ok());
        pty.set_slave_cooked();
        const pid_t child = start_child(body, pty.slave_path());
        const auto shown = pty.read_master(4096, limit_ms);
        EXPECT_NE(std::string(shown.begin(), shown.end()).find(expected), std::string::npos);
        pty.write_master(keys);
        return child_status(child);
    }
    common::DialogEnd run(std::deque<std::string> answers) {
        terminal = std::make_unique<ScriptedTerminal>(std::move(answers));
        return run_properties_form(reader, *terminal);
    }
    // Polls every second; 100 when the window was closed, plus the transfers tried.
    int poll_until_stopped(int show_received) {
        auto real_clock = platform::make_system_clock();
        Reader polling{ports, *real_clock, ui, ui};
        polling.settings.poll_interval = 1;
        polling.settings.show_received = show_received;
        const PollingEnd result = show_polling_window(polling);
        return (result == PollingEnd::closed ? 100 : 0) + ports.opens;
    }
    NoPorts ports;
    simline::VirtualClock clock;
    RecordingUi ui;
    Reader reader{ports, clock, ui, ui};
    std::unique_ptr<ScriptedTerminal> terminal;
};

TEST_F(FormTest, ShowsEveryFieldWithItsValueAndHowToKeepIt) {
    reader.settings.baud_index = 4;
    EXPECT_EQ(run({"O"}), common::DialogEnd::ok);
    const std::string form = last_form(terminal->shown);
    for (const char* expected :
         {"Adresář :", "/data/in", "zaznamy.txt", "COM1 (/dev/ttyS0)", "9600",
          "Mód souboru :", "Přepsat", "[x] Přidat znak RETURN ke každému záznamu",
          "[x] Zobrazit přijatá data\n", "[ ] Udržovat online pro automatický příjem dat",
          "2 (1 ~ 9999 sec)   (nepřístupné)", "Enter", "Esc"}) {
        EXPECT_NE(form.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(reader.output_path, "/data/in/zaznamy.txt");
}

TEST_F(FormTest, OnlineSwitchSwapsTheListAndEnabling) {
    reader.settings.file_mode = 3;
    reader.settings.show_received = 1;
    EXPECT_EQ(run({"11", "9", "11", "11", "O"}), common::DialogEnd::ok);
    EXPECT_NE(terminal->shown.find("Položka 9 teď není přístupná."), std::string::npos);
    const std::string form = last_form(terminal->shown);
    EXPECT_NE(form.find("Mód souboru :         Auto"), std::string::npos) << form;
    EXPECT_NE(form.find("[ ] Zobrazit přijatá data   (nepřístupné)"), std::string::npos);
    EXPECT_EQ(form.find("sec)   (nepřístupné)"), std::string::npos);
    EXPECT_EQ(reader.settings.online, 1);
    EXPECT_EQ(reader.settings.file_mode, 0);
    EXPECT_EQ(reader.settings.show_received, 0);
}

TEST_F(FormTest, ListsAreNumberedChoices) {
    EXPECT_EQ(run({"3", "4", "4", "12", "5", "\x1b", "5", "3", "O"}), common::DialogEnd::ok);
    EXPECT_NE(terminal->shown.find("1) Přepsat  2) Přidat  3) Nové jméno  4) Auto"),
              std::string::npos);
    EXPECT_NE(terminal->shown.find("Neplatná volba, hodnota zůstává."), std::string::npos);
    EXPECT_EQ(reader.settings.port_index, 3);
    EXPECT_EQ(reader.settings.baud_index, 0);  // 12 was refused
    EXPECT_EQ(reader.settings.file_mode, 2);
}

TEST_F(FormTest, IntervalFollowsTheEditRules) {
    reader.settings.online = 1;
    reader.settings.poll_interval = 5;
    EXPECT_EQ(run({"12", "0", "12", "abc", "12", "", "12", "\x1b", "12", "12345", "O"}),
              common::DialogEnd::ok);
    EXPECT_NE(terminal->shown.find("Interval upraven na 5."), std::string::npos);
    EXPECT_NE(terminal->shown.find("Interval upraven na 9999."), std::string::npos);
    EXPECT_EQ(reader.settings.poll_interval, 9999);
}

TEST_F(FormTest, EmptyOrEscAnswerKeepsText) {
    EXPECT_EQ(run({"1", "", "2", "\x1b", "2", "novy.txt", "O"}), common::DialogEnd::ok);
    EXPECT_EQ(reader.settings.directory, "/data/in");
    EXPECT_EQ(reader.settings.file_name, "novy.txt");
}

TEST_F(FormTest, StornoEscOrEndOfInputReadNothingBack) {
    const ReaderSettings before = reader.settings;
    for (const char* last : std::vector<const char*>{"S", "\x1b", nullptr}) {
        std::deque<std::string> answers = {"1", "/jinam", "6", "3", "2"};
        if (last) answers.push_back(last);
        EXPECT_EQ(run(answers), common::DialogEnd::cancelled);
        EXPECT_EQ(reader.settings, before);
        EXPECT_EQ(reader.output_path, "unchanged");
    }
}

TEST_F(FormTest, WithoutTerminalSaysWhyAndCancels) {
    EXPECT_EQ(child_status(start_child([this] {
                  const common::DialogEnd result = show_properties_form(reader);
                  const bool said = ui.messages.size() == 1 && ui.messages[0].caption == "Chyba" &&
                                    ui.messages[0].text == kNoTerminalMessage;
                  return result == common::DialogEnd::cancelled && said ? 0 : 1;
              })),
              0);
}

TEST_F(FormTest, PollingWithoutTerminalRunsUntilSignalled) {
    // Interval 1 s, SIGTERM at 2.5 s: transfers at 1 s and 2 s, each failing to open the port.
    EXPECT_EQ(child_status(start_child([this] {
                  std::thread stopper([] {
                      std::this_thread::sleep_for(std::chrono::milliseconds(2500));
                      kill(getpid(), SIGTERM);
                  });
                  const int result = poll_until_stopped(0);
                  stopper.join();
                  return result;
              })),
              102);
}

// Esc needs no Enter: it cancels the form at once, and what was typed before it is dropped.
TEST_F(FormTest, FormTalksThroughTheControllingTerminal) {
    const struct {
        std::vector<std::uint8_t> keys;
        int status;
    } cases[] = {{{'3', '\n', '5', '\n', 'O', '\n'}, 11}, {{'3', '\n', '5', '\n', 0x1b}, 20}};
    for (const auto& c : cases) {
        const auto form = [this] {
            const common::DialogEnd result = show_properties_form(reader);
            return (result == common::DialogEnd::ok ? 1 : 2) * 10 +
                   (reader.settings.port_index == 4 ? 1 : 0);
        };
        EXPECT_EQ(on_terminal(form, 500, "Čtení dat přes RS-232 (Ver 4.10)", c.keys), c.status);
    }
}

TEST_F(FormTest, PollingOnTheTerminalStopsOnEscQOrCtrlCBetweenTransfers) {
    for (std::uint8_t key : {std::uint8_t{'q'}, std::uint8_t{0x1b}, std::uint8_t{0x03}}) {
        SCOPED_TRACE(static_cast<int>(key));
        // About 1.5 s in: one transfer has run.
        EXPECT_EQ(on_terminal([this] { return poll_until_stopped(1); }, 1500,
                              "Připraveno pro příjem dat", {key}),
                  101);
    }
}

}  // namespace
}  // namespace ravelo
