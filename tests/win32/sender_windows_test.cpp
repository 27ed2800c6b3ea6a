// Lumbra's windows from their real templates, in process: the port dialog's lists, OK, Escape and
// the close box; the progress window's layout and its bar painted with no message loop running;
// the Open dialog's filters and proposed file; the hidden main window.
#include <gtest/gtest.h>
#include <windows.h>
// These build on windows.h.
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide.h"
#include "resources/lumbra_ids.h"
#include "sender/win32/lookup_file_dialog.h"
#include "sender/win32/main_window.h"
#include "sender/win32/port_dialog.h"
#include "sender/win32/progress_window.h"
#include "sender/win32/win32_sender_ui.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/win32_test_support.h"

namespace lumbra {
namespace {

using win32_test::bin_directory;
using win32_test::ModalDriver;
using win32_test::save_screenshot;
using win32_test::window_text;

const wchar_t kPortCaption[] = L"Nastavení COM portu pro přenos:";
const wchar_t kProgressCaption[] = L"Průběh (Nahrávání databáze do TRM )";

std::string class_of(HWND window) {
    wchar_t buffer[64] = L"";
    GetClassNameW(window, buffer, 64);
    return platform::from_wide(buffer);
}

// A rectangle in the dialog's units, in the dialog's client pixels. The dialog manager converts
// the position and the size each on its own, so the size is not rounded twice.
RECT pixels_of(HWND dialog, int x, int y, int w, int h) {
    RECT r{x, y, w, h};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT client_rect_of(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

std::vector<HWND> children(HWND dialog) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

// One control as the template must hold it.
struct Control {
    const char* kind;  // window class
    int id;            // -1: none
    const char* text;
    int x, y, w, h;   // dialog units; h of a combo box is its opened list's height
    DWORD type_mask;  // the bits that say which kind of static, button or combo it is
    DWORD type;
    DWORD flags;  // WS_GROUP and WS_TABSTOP as the table gives them
};

void expect_controls(HWND dialog, const std::vector<Control>& table) {
    const std::vector<HWND> found = children(dialog);
    ASSERT_GE(found.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Control& c = table[i];
        HWND child = found[i];
        SCOPED_TRACE(std::string(c.kind) + " " + c.text);
        const std::string kind = class_of(child);
        EXPECT_EQ(CompareStringOrdinal(platform::to_wide(kind).c_str(), -1,
                                       platform::to_wide(c.kind).c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << kind;
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(c.id));
        if (kind != "ComboBox") {
            EXPECT_EQ(window_text(child), c.text);
        }
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        EXPECT_EQ(style & c.type_mask, c.type);
        EXPECT_EQ(style & (WS_GROUP | WS_TABSTOP), c.flags);
        EXPECT_TRUE(style & WS_VISIBLE);
        const RECT want = pixels_of(dialog, c.x, c.y, c.w, c.h);
        RECT got = client_rect_of(child);
        if (kind == "ComboBox") {
            // The template's height is the closed box and its opened list together. Windows
            // gives the opened rectangle from the box's top, Wine about the list's part alone.
            RECT dropped{};
            SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            const LONG closed = got.bottom - got.top;
            const LONG opened = dropped.bottom - dropped.top;
            const LONG height = want.bottom - want.top;
            EXPECT_LE(opened, height);
            EXPECT_GE(opened, height - closed - 4);
            got.bottom = want.bottom;
        }
        EXPECT_EQ(describe(got), describe(want));
    }
}

// The dialog's client area is the template's size, and the window stands centred on the screen.
void expect_frame(HWND dialog, int w, int h, const char* face) {
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(describe(client), describe(pixels_of(dialog, 0, 0, w, h)));
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
    // Windows takes "MS Shell Dlg 2" for "MS Shell Dlg" under DS_SHELLFONT; Wine keeps the name.
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logical{};
    const std::string used = font && GetObjectW(font, sizeof logical, &logical)
                                 ? platform::from_wide(logical.lfFaceName)
                                 : "(none)";
    EXPECT_TRUE(used == face || used == std::string(face) + " 2") << used;
    EXPECT_EQ(style & DS_SHELLFONT, static_cast<DWORD>(DS_SHELLFONT));
    RECT window{};
    GetWindowRect(dialog, &window);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

class SenderWindowsTest : public ::testing::Test, protected win32_test::DialogHarness {
  protected:
    SenderWindowsTest() : DialogHarness(L"lumbra_resources.dll") {}
    void SetUp() override { ASSERT_NE(templates, nullptr); }
    void TearDown() override { close(); }

    void open_port_dialog() { open(L"ComPropertiesDlg", port_dialog_proc, &settings); }
    // The progress window as a transfer opens it; TearDown destroys it when a test stops early.
    void open_progress(Win32SenderUi& ui) {
        ui.init_common_controls();
        ui.open_progress_window();
        dialog = ui.progress().window();
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(ui.progress().bar(), nullptr);
    }

    SenderSettings settings;
};

TEST_F(SenderWindowsTest, PortDialogTemplateHasItsControlsInPlace) {
    open_port_dialog();
    EXPECT_EQ(window_text(dialog), platform::from_wide(kPortCaption));
    expect_frame(dialog, 150, 90, "MS Shell Dlg");
    expect_controls(
        dialog, {
                    {"Button", -1, "", 8, 6, 134, 54, 0xF, BS_GROUPBOX, 0},
                    {"Static", -1, "&COM port :", 12, 20, 44, 12, SS_TYPEMASK, SS_RIGHT, WS_GROUP},
                    {"ComboBox", IDC_LOOKUP_PORT, "", 68, 18, 60, 110, 0x3 | CBS_SORT,
                     CBS_DROPDOWNLIST, WS_TABSTOP},
                    {"Static", -1, "&Rychlost :", 12, 40, 44, 12, SS_TYPEMASK, SS_RIGHT, WS_GROUP},
                    {"ComboBox", IDC_LOOKUP_BAUD, "", 68, 38, 60, 100, 0x3 | CBS_SORT,
                     CBS_DROPDOWNLIST, WS_TABSTOP},
                    {"Button", IDOK, "OK", 8, 68, 48, 14, 0, 0, WS_GROUP | WS_TABSTOP},
                    {"Button", IDCANCEL, "Zrušit", 92, 68, 48, 14, 0, 0, WS_TABSTOP},
                });
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(children(dialog).size(), 7u);
}

TEST_F(SenderWindowsTest, PortDialogOpensOnTheSettings) {
    struct Case {
        int port, baud;
        const char* port_shown;
        const char* baud_shown;
    };
    for (const Case& c :
         {Case{5, 4, "COM6", "9600"}, Case{0, 0, "COM1", "115200"}, Case{2, 1, "COM3", "57600"}}) {
        settings.port_index = c.port;
        settings.baud_index = c.baud;
        open_port_dialog();
        EXPECT_EQ(items(IDC_LOOKUP_PORT),
                  (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
        EXPECT_EQ(items(IDC_LOOKUP_BAUD),
                  (std::vector<std::string>{"115200", "57600", "38400", "19200", "9600"}));
        EXPECT_EQ(text(IDC_LOOKUP_PORT), c.port_shown);
        EXPECT_EQ(text(IDC_LOOKUP_BAUD), c.baud_shown);
    }
}

TEST_F(SenderWindowsTest, PortDialogOkTakesBothOverAndZrusitNothing) {
    for (int button : {IDCANCEL, IDOK}) {
        settings.port_index = 5;
        settings.baud_index = 4;
        open_port_dialog();
        select(IDC_LOOKUP_PORT, 1);
        select(IDC_LOOKUP_BAUD, 2);
        EXPECT_EQ(settings.port_index, 5) << "a selection counts only at OK";
        click(button);
        EXPECT_EQ(settings.port_index, button == IDOK ? 1 : 5);
        EXPECT_EQ(settings.baud_index, button == IDOK ? 2 : 4);
    }
}

// The modal dialog as a user ends it: Enter, Escape, the close box. Keys go to the control with
// the focus, through the dialog's own loop.
TEST_F(SenderWindowsTest, ModalPortDialogEndsWithEnterEscapeOrCloseBox) {
    struct Case {
        const char* how;
        common::DialogEnd result;
        int port_after;
    };
    using common::DialogEnd;
    for (const Case& c : {Case{"enter", DialogEnd::ok, 3}, Case{"escape", DialogEnd::cancelled, 5},
                          Case{"close box", DialogEnd::cancelled, 5}}) {
        SCOPED_TRACE(c.how);
        settings.port_index = 5;
        settings.baud_index = 4;
        bool focus_on_port_list = false;
        const std::string how = c.how;
        ModalDriver::arm([&, how] {
            HWND shown_dialog = FindWindowW(L"#32770", kPortCaption);
            ASSERT_NE(shown_dialog, nullptr);
            focus_on_port_list = GetFocus() == GetDlgItem(shown_dialog, IDC_LOOKUP_PORT);
            if (how == "enter") save_screenshot(L"lumbra-port-dialog.bmp");
            SendDlgItemMessageW(shown_dialog, IDC_LOOKUP_PORT, CB_SETCURSEL, 3, 0);
            HWND target = GetFocus() ? GetFocus() : shown_dialog;
            if (how == "close box") {
                PostMessageW(shown_dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                const WPARAM key = how == "enter" ? VK_RETURN : VK_ESCAPE;
                PostMessageW(target, WM_KEYDOWN, key, 1);
                PostMessageW(target, WM_KEYUP, key, 0xC0000001);
            }
        });
        EXPECT_EQ(show_port_dialog(settings, templates, nullptr), c.result);
        EXPECT_EQ(settings.port_index, c.port_after);
        EXPECT_EQ(settings.baud_index, 4);
        EXPECT_TRUE(focus_on_port_list) << "the first tab stop has the focus";
    }
}

// A rectangle in `window`'s client pixels, in screen pixels.
RECT on_screen(HWND window, RECT area) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// The pixels of `colour` along the bar's middle row between two fractions of its width, and the
// pixels counted there.
std::pair<int, int> pixels_of_colour(const win32_test::Canvas& screen, HWND bar, double from,
                                     double to, COLORREF colour) {
    RECT inside{};
    GetClientRect(bar, &inside);
    inside = on_screen(bar, inside);
    const int width = inside.right - inside.left;
    const int y = (inside.top + inside.bottom) / 2;
    std::pair<int, int> found{0, 0};
    for (int x = inside.left + static_cast<int>(width * from);
         x < inside.left + static_cast<int>(width * to); ++x, ++found.second) {
        found.first += screen.pixel(x, y) == colour;
    }
    return found;
}

TEST_F(SenderWindowsTest, ProgressWindowLayoutFromTheTemplateAndCode) {
    Win32SenderUi ui(templates);
    ASSERT_NO_FATAL_FAILURE(open_progress(ui));
    HWND window = ui.progress().window();
    HWND bar = ui.progress().bar();
    EXPECT_TRUE(IsWindowVisible(window)) << "visible on creation";
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(window_text(window), platform::from_wide(kProgressCaption));
    expect_frame(window, 104, 65, "MS Shell Dlg");
    expect_controls(
        window,
        {
            {"Static", -1, "Přenáším...", 10, 8, 80, 12, SS_TYPEMASK, SS_LEFT, WS_GROUP},
            {"Static", IDC_PROGRESS_STATUS, " ", 4, 49, 96, 12, SS_TYPEMASK, SS_CENTER, WS_GROUP},
        });
    ASSERT_EQ(children(window).size(), 3u);
    EXPECT_EQ(children(window)[2], bar);

    RECT client{};
    GetClientRect(window, &client);
    const RECT at = client_rect_of(bar);
    EXPECT_EQ(describe(at),
              describe(RECT{14, client.bottom / 2, client.right - 14, client.bottom / 2 + 20}));
    EXPECT_EQ(class_of(bar), "msctls_progress32");
    EXPECT_EQ(window_text(bar), "Přenáším");
    EXPECT_EQ(GetDlgCtrlID(bar), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(bar, GWL_STYLE)),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

    ui.set_progress(42);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 42);
    ui.close_progress_window();
    dialog = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(bar)) << "the bar goes with its window";
    EXPECT_EQ(ui.progress().window(), nullptr);
    EXPECT_EQ(ui.progress().bar(), nullptr);
}

// No message is processed between the calls and the read-back: what shows on the screen was
// painted by open and set_progress themselves.
TEST_F(SenderWindowsTest, ProgressBarShowsEachPositionWithoutAMessageLoop) {
    if (!win32_test::screen_readable()) GTEST_SKIP() << "no screen to read (run under Xvfb)";
    Win32SenderUi ui(templates);
    ASSERT_NO_FATAL_FAILURE(open_progress(ui));
    HWND window = ui.progress().window();
    HWND bar = ui.progress().bar();
    const COLORREF filled = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_3DFACE);

    // Opened and painted at once: the label's text is on the screen, and static 151 is blank,
    // with nothing of "Static".
    const std::vector<HWND> controls = children(window);
    ASSERT_EQ(controls.size(), 3u);
    const win32_test::ScreenCopy opened;
    EXPECT_GT(opened.pixels_not(on_screen(window, client_rect_of(controls[0])), face), 20)
        << "Přenáším...";
    EXPECT_EQ(opened.pixels_not(on_screen(window, client_rect_of(controls[1])), face), 0)
        << "static 151";

    struct Step {
        int percent;
        bool left_filled, right_filled;  // 10..45 % and 55..95 % of the bar
    };
    for (const Step& s : {Step{-1, false, false}, Step{50, true, false}, Step{100, true, true},
                          Step{5, false, false}}) {
        SCOPED_TRACE(s.percent);
        if (s.percent >= 0) ui.set_progress(s.percent);
        const win32_test::ScreenCopy screen;
        const auto [left, left_n] = pixels_of_colour(screen, bar, 0.10, 0.45, filled);
        const auto [right, right_n] = pixels_of_colour(screen, bar, 0.55, 0.95, filled);
        if (s.percent == 50) save_screenshot(L"lumbra-progress.bmp");
        // The classic bar is drawn in blocks with gaps: most, not all, of a filled part.
        EXPECT_TRUE(s.left_filled ? left > left_n / 2 : left == 0) << left << " of " << left_n;
        EXPECT_TRUE(s.right_filled ? right > right_n / 2 : right == 0)
            << right << " of " << right_n;
    }

    // What a message box over the window leaves to repaint when it goes is painted by the next
    // set_progress: nothing waits for a message loop.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ui.set_progress(60);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    for (HWND control : children(window)) EXPECT_FALSE(GetUpdateRect(control, nullptr, FALSE));
}

struct WindowSearch {
    const char* kind;
    bool shown;  // visible ones only
    HWND found = nullptr;
    static BOOL CALLBACK look_at(HWND window, LPARAM data) {
        auto& s = *reinterpret_cast<WindowSearch*>(data);
        if ((s.shown && !IsWindowVisible(window)) || class_of(window) != s.kind) return TRUE;
        s.found = window;
        return FALSE;
    }
};

// This thread's first window of the class (and visible, when `shown`); null when there is none.
HWND thread_window(const char* kind, bool shown) {
    WindowSearch search{kind, shown};
    EnumThreadWindows(GetCurrentThreadId(), WindowSearch::look_at,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The Open dialog driven from inside its own loop: the stored name proposed in the stored
// directory, the two filters with the first selected, no read-only box, the full path back.
// (Wine checks that the file exists before it appends the default extension, so "TXT" cannot
// be seen at work here.)
TEST_F(SenderWindowsTest, OpenDialogOffersTheLookupFiles) {
    const testing_support::TempDir folder;
    const std::string file = folder.file("tabulka.TXT");
    testing_support::write_bytes(file, "");

    for (int button : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(button);
        settings.directory = folder.path().string();
        settings.lookup_path = "tabulka.TXT";
        std::vector<std::string> filters;
        int filter_selected = -1;
        std::string proposed;
        bool read_only_shown = true;
        const auto look_and_answer = [&] {
            HWND open = thread_window("#32770", true);
            ASSERT_NE(open, nullptr);
            filters = win32_test::list_items(open, cmb1);
            filter_selected = static_cast<int>(SendDlgItemMessageW(open, cmb1, CB_GETCURSEL, 0, 0));
            // Windows names its file name box cmb13, Wine edt1.
            proposed = win32_test::control_text(open, cmb13);
            if (proposed.empty()) proposed = win32_test::control_text(open, edt1);
            read_only_shown = IsWindowVisible(GetDlgItem(open, chx1)) != FALSE;
            if (button == IDOK) save_screenshot(L"lumbra-open-dialog.bmp");
            PostMessageW(open, WM_COMMAND, static_cast<WPARAM>(button), 0);
        };
        ModalDriver::arm(look_and_answer, 800);
        EXPECT_EQ(choose_lookup_file(settings, nullptr), button == IDOK);
        EXPECT_EQ(filters,
                  (std::vector<std::string>{"Lookup soubory {*.TXT}", "Všechny soubory {*.*}"}));
        EXPECT_EQ(filter_selected, 0);
        EXPECT_EQ(proposed, "tabulka.TXT");
        EXPECT_FALSE(read_only_shown);
        EXPECT_EQ(settings.lookup_path, button == IDOK ? file : std::string("tabulka.TXT"));
    }
}

// The hidden main window exists for the run only, however the run ends, and the exit code is 0.
TEST(LumbraMainWindow, HiddenScreenSizedWindowForTheRunOnly) {
    const win32_test::Module resources(
        LoadLibraryW((bin_directory() + L"lumbra_resources.dll").c_str()));
    ASSERT_NE(resources, nullptr);
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws);
        HWND seen = nullptr;
        const int code = run_with_main_window(GetModuleHandleW(nullptr), resources.get(), [&] {
            seen = thread_window("lookup", false);
            ASSERT_NE(seen, nullptr);
            EXPECT_FALSE(IsWindowVisible(seen));
            EXPECT_EQ(window_text(seen), "");
            EXPECT_EQ(GetParent(seen), nullptr);
            RECT r{};
            GetWindowRect(seen, &r);
            EXPECT_EQ(describe(r), describe(RECT{2, 2, 2 + GetSystemMetrics(SM_CXSCREEN),
                                                 2 + GetSystemMetrics(SM_CYSCREEN)}));
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(seen, GWL_STYLE));
            EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN),
                      static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN));
            EXPECT_EQ(GetClassLongPtrW(seen, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
            EXPECT_NE(GetClassLongPtrW(seen, GCLP_HICON), 0) << "the icon LOOKUP";
            EXPECT_EQ(GetClassLongPtrW(seen, GCL_CBCLSEXTRA), 0);
            EXPECT_EQ(GetClassLongPtrW(seen, GCL_CBWNDEXTRA), 0);
            if (throws) throw std::runtime_error("escaped from the run");
        });
        EXPECT_EQ(code, 0);
        EXPECT_NE(seen, nullptr);
        EXPECT_FALSE(IsWindow(seen)) << "destroyed after the run";
        EXPECT_TRUE(win32_test::take_quit_message()) << "the destroyed window ends the loop";
    }
}

}  // namespace
}  // namespace lumbra
