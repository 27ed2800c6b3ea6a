// file-hold.exe: keeps a file open as another program would (a spreadsheet, a viewer, a backup),
// so that host-side tests can run the programs against a file that is in use. Prints "held" once
// the file is open, and lets go of it when the release file appears (or after a minute).
// Usage: file-hold PATH r|rw none|r|rw RELEASE_PATH
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

DWORD access_for(const wchar_t* access) {
    return wcscmp(access, L"rw") == 0 ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
}

DWORD sharing_for(const wchar_t* sharing) {
    if (wcscmp(sharing, L"rw") == 0) return FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (wcscmp(sharing, L"r") == 0) return FILE_SHARE_READ;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fputs("usage: file-hold PATH r|rw none|r|rw RELEASE_PATH\n", stderr);
        return 2;
    }
    HANDLE file = CreateFileW(argv[1], access_for(argv[2]), sharing_for(argv[3]), nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stdout, "failed %lu\n", GetLastError());
        return 1;
    }
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(argv[4]) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() - start < 60000) {
        Sleep(20);
    }
    CloseHandle(file);
    return 0;
}
