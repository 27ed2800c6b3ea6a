// text-render.exe: draws every text of the programs' dialogs (from the executables' own templates)
// and the counter box, and prints a fingerprint of each drawing, so that host-side tests can
// compare what two system locales show. First line: the ANSI code page it ran under.
// Usage: text-render WINE-FONTS-FOLDER RAVELO.EXE LUMBRA.EXE
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "reader/counter_view.h"
#include "reader/win32/counter_box.h"
#include "reader/win32/gdi_counter_screen.h"
#include "tests/win32/gdi_canvas.h"

namespace {

struct Drawing {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the pixels
    int inked = 0;  // pixels not in the most frequent colour, the background
};

// A white 32-bit bitmap of the given size, drawn into by `paint`, then fingerprinted.
template <typename Paint>
Drawing draw(int width, int height, Paint paint) {
    Drawing result;
    const win32_test::Canvas canvas(width, height);
    if (!canvas.ok()) return result;
    const RECT all{0, 0, width, height};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint(canvas.dc());
    const std::uint32_t* pixel = canvas.bits();
    std::map<std::uint32_t, int> colours;
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t p = pixel[i] & 0xFFFFFF;
        ++colours[p];
        for (int b = 0; b < 3; ++b) {
            result.hash = (result.hash ^ ((p >> (8 * b)) & 0xFF)) * 1099511628211ull;
        }
    }
    int background = 0;
    for (const auto& colour : colours) background = std::max(background, colour.second);
    result.inked = width * height - background;
    return result;
}

void print(const std::string& line) {
    const std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written,
              nullptr);
}

std::string describe(const Drawing& d) {
    char text[64];
    std::snprintf(text, sizeof text, "%016llx %d", static_cast<unsigned long long>(d.hash),
                  d.inked);
    return text;
}

// Windows has "MS Sans Serif", "System" and their kin only as bitmap fonts of its own code page,
// and TrueType Tahoma behind "MS Shell Dlg". Wine names those same files in its registry for the
// code page it runs under, but this Wine loads none of its own fonts and draws every face in one
// Unicode font, which would hide the difference. So they are added here, for this process alone.
int add_windows_fonts(const std::wstring& folder) {
    int added = AddFontResourceExW((folder + L"\\tahoma.ttf").c_str(), FR_PRIVATE, nullptr) > 0;
    for (const wchar_t* key : {L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                               L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software"
                               L"\\Fonts"}) {
        HKEY fonts = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &fonts) != ERROR_SUCCESS) continue;
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            wchar_t file[MAX_PATH] = L"";
            DWORD name_size = 256;
            DWORD file_size = sizeof file - sizeof(wchar_t);
            DWORD type = 0;
            const LSTATUS status = RegEnumValueW(fonts, i, name, &name_size, nullptr, &type,
                                                 reinterpret_cast<BYTE*>(file), &file_size);
            if (status == ERROR_NO_MORE_ITEMS) break;
            if (status != ERROR_SUCCESS) continue;
            const std::wstring bitmap = file;
            if (type != REG_SZ || bitmap.size() < 4 ||
                _wcsicmp(bitmap.c_str() + bitmap.size() - 4, L".fon") != 0) {
                continue;
            }
            added += AddFontResourceExW((folder + L"\\" + bitmap).c_str(), FR_PRIVATE, nullptr) > 0;
        }
        RegCloseKey(fonts);
    }
    return added;
}

INT_PTR CALLBACK quiet_dialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Every control of the template that carries a text, painted by the control itself.
void print_template(HMODULE image, const wchar_t* name) {
    HWND dialog = CreateDialogParamW(image, name, nullptr, quiet_dialog, 0);
    if (!dialog) {
        print(platform::from_wide(name) + " not created");
        return;
    }
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[256] = L"";
        if (!GetWindowTextW(c, text, 256) || !text[0]) continue;
        RECT r{};
        GetClientRect(c, &r);
        const Drawing d = draw(r.right, r.bottom, [&](HDC dc) {
            SendMessageW(c, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                         PRF_CLIENT | PRF_ERASEBKGND);
        });
        print(platform::from_wide(name) + " \"" + platform::from_wide(text) + "\" " + describe(d));
    }
    DestroyWindow(dialog);
}

// The counter box as the reader paints it on the screen, read back from there.
void print_counter() {
    ravelo::GdiCounterScreen screen;
    const std::string text = std::string(ravelo::kCounterPrefix) + "12345";
    const int width = screen.text_width(text) + ravelo::kCounterMargin;
    const ravelo::ScreenRect box{20, 20, 20 + width, 20 + ravelo::kCounterBoxHeight};
    screen.save_background(box);
    screen.paint_box(box, text);
    const Drawing d = draw(width, ravelo::kCounterBoxHeight, [&](HDC dc) {
        HDC whole = GetDC(nullptr);
        if (whole) {
            BitBlt(dc, 0, 0, width, ravelo::kCounterBoxHeight, whole, box.left, box.top, SRCCOPY);
            ReleaseDC(nullptr, whole);
        }
    });
    screen.restore_background(box);
    print("counter \"" + text + "\" " + describe(d));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        print("usage: text-render WINE-FONTS-FOLDER RAVELO.EXE LUMBRA.EXE");
        return 2;
    }
    print("acp " + std::to_string(GetACP()));
    if (add_windows_fonts(argv[1]) < 3) {
        print("the code page's fonts were not found in " + platform::from_wide(argv[1]));
        return 1;
    }
    const struct {
        const wchar_t* exe;
        std::vector<const wchar_t*> templates;
    } programs[] = {{argv[2], {L"PropertiesDlg", L"ProgressDlg"}},
                    {argv[3], {L"ComPropertiesDlg", L"ProgressDlg"}}};
    for (const auto& program : programs) {
        HMODULE image = LoadLibraryExW(program.exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!image) {
            print(platform::from_wide(program.exe) + " not loaded");
            return 1;
        }
        for (const wchar_t* name : program.templates) print_template(image, name);
        FreeLibrary(image);
    }
    print_counter();
    return 0;
}
