// box-answer.exe: finds a message box by caption, prints its text, and presses one of its buttons;
// lets host-side tests answer the programs' message boxes from outside, as a user would. Its
// standard error names the box's owner window: "owner: none" or "owner: " and the owner's caption.
// Usage: box-answer CAPTION yes|no|ok|cancel [SECONDS]
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text

HWND find_box(const wchar_t* caption, DWORD seconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        if (HWND box = FindWindowW(L"#32770", caption)) return box;
        Sleep(50);
    }
    return nullptr;
}

int button_for(const wchar_t* answer) {
    if (wcscmp(answer, L"yes") == 0) return IDYES;
    if (wcscmp(answer, L"no") == 0) return IDNO;
    if (wcscmp(answer, L"cancel") == 0) return IDCANCEL;
    return IDOK;
}

void print_utf8(const std::wstring& text, FILE* stream) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    _setmode(_fileno(stream), _O_BINARY);  // the text exactly as the box holds it
    std::fputs(out.c_str(), stream);
    std::fflush(stream);
}

std::wstring owner_of(HWND box) {
    HWND owner = GetWindow(box, GW_OWNER);
    if (!owner) return L"owner: none";
    wchar_t caption[256] = L"";
    GetWindowTextW(owner, caption, 256);
    return std::wstring(L"owner: ") + caption;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const DWORD seconds = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 20;
    HWND box = find_box(argv[1], seconds);
    if (!box) return 1;
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, kMessageTextId, text, 1024);
    print_utf8(text, stdout);
    print_utf8(owner_of(box), stderr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_for(argv[2]), BN_CLICKED), 0);
    return 0;
}
