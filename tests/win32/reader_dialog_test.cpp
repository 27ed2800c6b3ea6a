// Ravelo's properties and polling dialogs, created from their real templates and driven in process,
// and its hidden main window: settings loaded at its creation, destroyed and exit code 1 however
// the run ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/win32/wide.h"
#include "reader/win32/main_window.h"
#include "reader/win32/polling_dialog.h"
#include "reader/win32/properties_dialog.h"
#include "resources/ravelo_ids.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/recording_ui.h"
#include "tests/win32/win32_test_support.h"
#include "tools/simulated-line/virtual_clock.h"

namespace ravelo {
namespace {

using win32_test::ModalDriver;
using win32_test::save_screenshot;

const wchar_t kPropertiesCaption[] = L"Čtení dat přes RS-232 (Ver 4.10)";
const wchar_t kPollingCaption[] = L"Připraveno pro příjem dat";

class DialogTest : public ::testing::Test, protected win32_test::DialogHarness {
  protected:
    DialogTest() : DialogHarness(L"ravelo_resources.dll") {}
    void SetUp() override {
        ASSERT_NE(templates, nullptr);
        reader.settings.directory = "C:\\data";
        reader.settings.file_name = "in.txt";
        reader.settings.poll_interval = 7;
        reader.output_path = "unchanged";
    }
    void TearDown() override { close(); }

    void open_properties() { open(L"PropertiesDlg", properties_dialog_proc, &reader); }
    std::string selected_mode() {
        int i = static_cast<int>(SendDlgItemMessageW(dialog, IDC_FILE_MODE, CB_GETCURSEL, 0, 0));
        return i < 0 ? "(none)" : items(IDC_FILE_MODE).at(static_cast<std::size_t>(i));
    }
    void expect_online_state(bool online) {
        EXPECT_EQ(checked(IDC_ONLINE), online);
        EXPECT_EQ(items(IDC_FILE_MODE).size(), online ? 3u : 4u);
        EXPECT_EQ(enabled(IDC_SHOW_RECEIVED), !online);
        for (int id : {IDC_INTERVAL_LABEL, IDC_INTERVAL, IDC_INTERVAL_HINT}) {
            EXPECT_EQ(enabled(id), online) << id;
        }
    }

    reader_test::NoPorts ports;
    simline::VirtualClock clock;
    testing_support::RecordingUi ui;
    Reader reader{ports, clock, ui, ui};
};

TEST_F(DialogTest, PropertiesOpenShowsTheSettings) {
    reader.settings.port_index = 2;
    reader.settings.baud_index = 4;
    reader.settings.append_lf = 0;
    open_properties();
    EXPECT_EQ(text(IDC_DIRECTORY), "C:\\data");
    EXPECT_EQ(text(IDC_FILE_NAME), "in.txt");
    EXPECT_EQ(text(IDC_INTERVAL), "7");
    EXPECT_EQ(items(IDC_PORT).size(), 9u);
    EXPECT_EQ(text(IDC_PORT), "COM3");
    EXPECT_EQ(items(IDC_BAUD),
              (std::vector<std::string>{"115200", "57600", "38400", "19200", "9600"}));
    EXPECT_EQ(text(IDC_BAUD), "9600");
    EXPECT_EQ(items(IDC_FILE_MODE),
              (std::vector<std::string>{"Přepsat", "Přidat", "Nové jméno", "Auto"}));
    EXPECT_TRUE(checked(IDC_APPEND_CR));
    EXPECT_FALSE(checked(IDC_APPEND_LF));
    EXPECT_TRUE(checked(IDC_SHOW_RECEIVED));
    expect_online_state(false);
    EXPECT_EQ(GetFocus() == GetDlgItem(dialog, IDC_DIRECTORY) || GetFocus() == nullptr, true);
}

TEST_F(DialogTest, PropertiesOpenOnlineResetsAutoAndHidesShowReceived) {
    reader.settings.online = 1;
    reader.settings.file_mode = 3;
    open_properties();
    expect_online_state(true);
    EXPECT_EQ(items(IDC_FILE_MODE), (std::vector<std::string>{"Auto", "Přidat", "Přepsat"}));
    EXPECT_EQ(selected_mode(), "Auto");
    EXPECT_EQ(reader.settings.file_mode, 0);
    EXPECT_FALSE(checked(IDC_SHOW_RECEIVED));
}

TEST_F(DialogTest, OnlineSwitchOnAndOffTwice) {
    reader.settings.file_mode = 3;
    open_properties();
    EXPECT_EQ(selected_mode(), "Auto");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        click(IDC_ONLINE);
        expect_online_state(true);
        EXPECT_EQ(reader.settings.online, 1);
        EXPECT_EQ(selected_mode(), "Auto");
        EXPECT_FALSE(checked(IDC_SHOW_RECEIVED));
        click(IDC_ONLINE);
        expect_online_state(false);
        EXPECT_EQ(reader.settings.online, 0);
        EXPECT_EQ(selected_mode(), "Přepsat");
        EXPECT_FALSE(checked(IDC_SHOW_RECEIVED));  // cleared by the trip online
    }
}

TEST_F(DialogTest, FileModeListAndOnlineSwitchCarryTheIndex) {
    open_properties();
    choose(IDC_FILE_MODE, 2);
    EXPECT_EQ(reader.settings.file_mode, 2);
    click(IDC_ONLINE);
    EXPECT_EQ(selected_mode(), "Přepsat");
    click(IDC_ONLINE);
    EXPECT_EQ(selected_mode(), "Nové jméno");
}

TEST_F(DialogTest, IntervalEditKeepsOnlyValidIntervals) {
    reader.settings.online = 1;
    open_properties();
    struct Case {
        const char* typed;
        const char* shown;
        int interval;
    };
    const Case cases[] = {{"0", "7", 7},     {"12345", "9999", 9999}, {"30", "30", 30},
                          {"abc", "30", 30}, {"-5", "30", 30},        {"", "", 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        type(IDC_INTERVAL, c.typed);
        EXPECT_EQ(text(IDC_INTERVAL), c.shown);
        EXPECT_EQ(reader.settings.poll_interval, c.interval);
    }
    click(IDOK);
    EXPECT_EQ(reader.settings.poll_interval, 30);  // the emptied edit is not read at OK
}

TEST_F(DialogTest, OkReadsEverythingBack) {
    open_properties();
    type(IDC_DIRECTORY, "D:\\příjem\\");
    type_keys(IDC_FILE_NAME, std::string(70, 'n'));
    select(IDC_PORT, 4);
    select(IDC_BAUD, 3);
    for (int id : {IDC_APPEND_CR, IDC_SHOW_ERRORS, IDC_ALWAYS_ASK}) click(id);
    EXPECT_FALSE(checked(IDC_APPEND_CR));
    click(IDC_ONLINE);
    click(IDOK);
    const ReaderSettings& s = reader.settings;
    EXPECT_EQ(s.directory, "D:\\příjem\\");
    EXPECT_EQ(s.file_name, std::string(61, 'n'));
    EXPECT_EQ(reader.output_path, "D:\\příjem\\" + std::string(61, 'n'));
    EXPECT_EQ(s.port_index, 4);
    EXPECT_EQ(s.baud_index, 3);
    EXPECT_EQ(s.file_mode, 0);
    EXPECT_EQ(s.append_cr, 0);
    EXPECT_EQ(s.append_lf, 1);
    EXPECT_EQ(s.show_errors, 0);
    EXPECT_EQ(s.always_ask, 0);
    EXPECT_EQ(s.online, 1);
    EXPECT_EQ(s.show_received, 0);
}

TEST_F(DialogTest, StornoReadsNothingBack) {
    open_properties();
    const ReaderSettings before = reader.settings;
    type(IDC_DIRECTORY, "E:\\jinam");
    type(IDC_FILE_NAME, "jine.txt");
    select(IDC_PORT, 5);
    for (int id : {IDC_APPEND_CR, IDC_APPEND_LF, IDC_SHOW_ERRORS, IDC_SHOW_RECEIVED}) click(id);
    click(IDCANCEL);
    EXPECT_EQ(reader.settings, before);
    EXPECT_EQ(reader.output_path, "unchanged");
}

TEST_F(DialogTest, ModalPropertiesEndsWithOkOrStorno) {
    for (int button : {IDOK, IDCANCEL}) {
        ModalDriver::arm([button] {
            HWND shown = FindWindowW(L"#32770", kPropertiesCaption);
            ASSERT_NE(shown, nullptr);
            if (button == IDOK) save_screenshot(L"ravelo-properties.bmp");
            PostMessageW(shown, WM_COMMAND, static_cast<WPARAM>(button), 0);
        });
        EXPECT_EQ(show_properties_dialog(reader, templates),
                  button == IDOK ? common::DialogEnd::ok : common::DialogEnd::cancelled);
    }
    EXPECT_EQ(reader.output_path, "C:\\data\\in.txt");
}

// A polling window with scripted transfers; times are real, from the program's own clock.
struct PollingRun {
    std::vector<int> results;
    std::function<void(HWND)> during;  // runs inside each transfer
    std::unique_ptr<platform::Clock> clock = platform::make_system_clock();
    std::vector<std::uint32_t> starts;
    std::vector<std::uint32_t> ends;
    std::vector<bool> minimised;

    int transfer() {
        HWND window = FindWindowW(L"#32770", kPollingCaption);
        starts.push_back(clock->tick_ms());
        minimised.push_back(window != nullptr && IsIconic(window));
        if (during) during(window);
        clock->sleep_ms(300);
        ends.push_back(clock->tick_ms());
        return results.at(starts.size() - 1);
    }
};

TEST_F(DialogTest, PollingRunsOnePeriodAfterEachTransferAndStopsOnFailure) {
    reader.settings.poll_interval = 1;
    PollingRun run;
    run.results = {0, 4, -1};
    run.during = [&](HWND window) {
        if (run.starts.size() == 1) save_screenshot(L"ravelo-polling.bmp");
        EXPECT_NE(window, nullptr);
    };
    PollingWindow window{reader, [&] { return run.transfer(); }};
    const std::uint32_t opened = run.clock->tick_ms();
    EXPECT_EQ(show_polling_window(window, templates), PollingEnd::closed);
    ASSERT_EQ(run.starts.size(), 3u);
    for (std::size_t i = 0; i < run.starts.size(); ++i) {
        const std::uint32_t waited = run.starts[i] - (i == 0 ? opened : run.ends[i - 1]);
        EXPECT_GE(waited, 950u) << i;
        EXPECT_LT(waited, 1500u) << i;
    }
    EXPECT_FALSE(run.minimised[0]);
}

// Checked on the window as WM_INITDIALOG leaves it: once Wine maps a modal dialog on its X display
// it shows it restored again, which Windows does not.
TEST_F(DialogTest, PollingStartsMinimisedWithoutErrorMessages) {
    for (int show_errors : {0, 1}) {
        reader.settings.show_errors = show_errors;
        PollingWindow window{reader, [] { return -1; }};
        open(L"ProgressDlg", polling_dialog_proc, &window);
        EXPECT_EQ(IsIconic(dialog) != FALSE, show_errors == 0);
        close();
    }
}

TEST_F(DialogTest, PollingButtonMinimisesAndEscStopsAfterTheTransfer) {
    reader.settings.poll_interval = 1;
    PollingRun run;
    run.results = {0, 0, 0};
    run.during = [&](HWND window) {
        // Clicks made during a transfer wait in the queue until the transfer is over.
        if (run.starts.size() == 1) PostMessageW(window, WM_COMMAND, IDOK, 0);
        if (run.starts.size() == 2) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    };
    PollingWindow window{reader, [&] { return run.transfer(); }};
    EXPECT_EQ(show_polling_window(window, templates), PollingEnd::closed);
    EXPECT_EQ(run.minimised, (std::vector<bool>{false, true}));
}

TEST(ReaderHiddenWindow, RunEndsWithTheWindowDestroyedAndCodeOneEvenByAnException) {
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "run throws" : "run returns");
        reader_test::ReaderFixture f;
        reader_test::write_bytes(f.temp.file("Ravelo.ini"), "D:\\Data\r\nlist.txt\r\n");
        HWND during = nullptr;
        std::string loaded;
        const int code = run_with_hidden_window(
            GetModuleHandleW(nullptr), f.reader,
            platform::ProgramFolders{f.temp.directory(), f.temp.directory(), {}}, [&] {
                during = FindWindowW(L"Ravelo", L"Čtení dat");
                loaded = f.reader.settings.file_name;
                if (throws) throw std::runtime_error("run failed");
            });
        EXPECT_EQ(code, 1);
        EXPECT_EQ(loaded, "list.txt");
        ASSERT_NE(during, nullptr);
        EXPECT_FALSE(IsWindow(during));
        EXPECT_TRUE(win32_test::take_quit_message()) << "the destroyed window ends the loop";
    }
}

}  // namespace
}  // namespace ravelo
