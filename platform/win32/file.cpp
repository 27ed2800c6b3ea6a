// Files on Windows through the wide API: explicit creation modes, one writer at a time.
#include "platform/file.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/system_path.h"

namespace platform {
namespace {

HANDLE as_handle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

DWORD disposition(Creation creation) {
    switch (creation) {
        case Creation::create_always:
            return CREATE_ALWAYS;
        case Creation::create_new:
            return CREATE_NEW;
        case Creation::open_existing:
            return OPEN_EXISTING;
        case Creation::open_always:
            return OPEN_ALWAYS;
    }
    return OPEN_EXISTING;
}

FileError map_error(DWORD code) {
    switch (code) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileError::exists;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileError::not_found;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileError::access_denied;
        default:
            return FileError::other;
    }
}

// Win32 counts are 32-bit; larger requests go in pieces.
constexpr std::size_t kChunk = 1u << 30;

// A pipe whose writer has closed ends with an error code, not with a read of nothing.
bool is_end_of_data(DWORD error) {
    return error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF;
}

// Another program may hold a file for a moment (a virus scanner, an indexer, a backup, a
// program importing the output); an open it refuses is tried again for about half a second.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 50;

bool held_by_another(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

HANDLE create_file_waiting(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition,
                           DWORD flags) {
    for (int attempt = 1;; ++attempt) {
        HANDLE h = CreateFileW(path.c_str(), access, sharing, nullptr, disposition, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE || attempt == kOpenTries) return h;
        const DWORD code = GetLastError();
        if (!held_by_another(code)) return h;
        Sleep(kOpenPauseMs);
        SetLastError(code);
    }
}

// Volume serial and file index: together they name one file on the computer while it exists.
FileIdentity identity_of(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) return {};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
    return {true, info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

static_assert(sizeof(std::intptr_t) == sizeof(HANDLE), "a handle fits the stored integer");

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, kInvalid)), read_failed_(other.read_failed_) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, kInvalid);
        read_failed_ = other.read_failed_;
    }
    return *this;
}

// A reader lets others read and write (a lookup file left open in a spreadsheet); a writer lets
// others read what it has written so far.
File File::open(const std::string& path, Creation creation, FileError* error, Access access) {
    const bool read_only = access == Access::read_only;
    bool device = false;
    const std::wstring full = system_path(path, &device);
    if (device) {
        if (error) *error = FileError::access_denied;
        return File();
    }
    const DWORD rights = read_only ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
    const DWORD sharing = read_only ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : FILE_SHARE_READ;
    HANDLE h =
        create_file_waiting(full, rights, sharing, disposition(creation), FILE_ATTRIBUTE_NORMAL);
    const FileError result =
        h == INVALID_HANDLE_VALUE ? map_error(GetLastError()) : FileError::none;
    if (error) *error = result;
    if (h == INVALID_HANDLE_VALUE) return File();
    return File(reinterpret_cast<std::intptr_t>(h));
}

void File::close() {
    if (is_open()) CloseHandle(as_handle(handle_));
    handle_ = kInvalid;
    read_failed_ = false;
}

std::size_t File::read(std::uint8_t* buffer, std::size_t n) {
    std::size_t total = 0;
    while (is_open() && total < n) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(n - total, kChunk));
        if (!ReadFile(as_handle(handle_), buffer + total, want, &got, nullptr)) {
            read_failed_ = !is_end_of_data(GetLastError());
            break;
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

std::size_t File::write(const std::uint8_t* data, std::size_t n) {
    std::size_t total = 0;
    while (is_open() && total < n) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min(n - total, kChunk));
        if (!WriteFile(as_handle(handle_), data + total, want, &put, nullptr) || put == 0) break;
        total += put;
    }
    return total;
}

bool File::write_whole(const std::uint8_t* data, std::size_t n) {
    if (!is_open()) return false;
    const std::size_t done = write(data, n);
    if (done == n) return true;
    // Step back over what went out and cut it off. The position is asked for only here, which
    // keeps a call out of every record.
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(done);
    if (SetFilePointerEx(as_handle(handle_), back, nullptr, FILE_CURRENT)) {
        SetEndOfFile(as_handle(handle_));
    }
    return false;
}

bool File::seek_to_start() {
    LARGE_INTEGER zero{};
    return is_open() && SetFilePointerEx(as_handle(handle_), zero, nullptr, FILE_BEGIN);
}

bool File::seek_to_end() {
    LARGE_INTEGER zero{};
    return is_open() && SetFilePointerEx(as_handle(handle_), zero, nullptr, FILE_END);
}

std::uint64_t File::size() {
    LARGE_INTEGER size{};
    if (!is_open() || !GetFileSizeEx(as_handle(handle_), &size)) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

FileIdentity File::identity() {
    return is_open() ? identity_of(as_handle(handle_)) : FileIdentity{};
}

bool remove_file(const std::string& path) {
    return DeleteFileW(system_path(path).c_str()) != 0;
}

// The file is opened again for deletion and compared before it goes, through that same handle,
// so nothing else put at the path in between can be the one deleted. The output itself is not
// opened with DELETE access: that would refuse every reader that does not share deletion.
// A link at the path is opened as itself, not followed, and so never matches.
bool remove_made_file(const std::string& path, const FileIdentity& made) {
    if (!made.regular) return false;
    bool device = false;
    const std::wstring full = system_path(path, &device);
    if (device) return false;
    HANDLE h = create_file_waiting(full, DELETE | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (h == INVALID_HANDLE_VALUE) return false;
    const FileIdentity found = identity_of(h);
    bool removed = false;
    if (found.regular && found.volume == made.volume && found.index == made.index) {
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        removed = SetFileInformationByHandle(h, FileDispositionInfo, &disposition,
                                             sizeof disposition) != 0;
    }
    CloseHandle(h);
    return removed;
}

bool file_exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(system_path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool read_whole_file(const std::string& path, std::string* content) {
    File file = File::open(path, Creation::open_existing, nullptr, File::Access::read_only);
    if (!file.is_open()) return false;
    std::string data(static_cast<std::size_t>(file.size()), '\0');
    const std::size_t got = file.read(reinterpret_cast<std::uint8_t*>(data.data()), data.size());
    data.resize(got);
    if (content) *content = std::move(data);
    return true;
}

}  // namespace platform

namespace platform {

// FILE_TYPE_UNKNOWN also stands for a failed call: either way not a file to trust the size of.
bool File::is_regular() {
    return is_open() && GetFileType(as_handle(handle_)) == FILE_TYPE_DISK;
}

}  // namespace platform
