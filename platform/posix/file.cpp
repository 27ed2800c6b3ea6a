// Files on POSIX: open(2) with the creation modes, one writer at a time through flock.
#include "platform/file.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int fd_of(std::intptr_t handle) {
    return static_cast<int>(handle);
}

FileError error_from_errno(int error) {
    switch (error) {
        case EEXIST:
            return FileError::exists;
        case ENOENT:
            return FileError::not_found;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileError::access_denied;
        default:
            return FileError::other;
    }
}

// O_TRUNC is left out on purpose: truncating before the lock is taken would clobber a file
// that another opener holds. create_always truncates once the lock is ours.
int open_flags(Creation creation, bool read_only) {
    int flags = (read_only ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    switch (creation) {
        case Creation::create_always:
            return flags | O_CREAT;
        case Creation::create_new:
            return flags | O_CREAT | O_EXCL;
        case Creation::open_existing:
            return flags;
        case Creation::open_always:
            return flags | O_CREAT;
    }
    return flags;
}

int open_retrying(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A held lock means another opener has the file; file systems without flock are let through.
// Readers share the file with each other, a writer has it alone.
FileError take_lock(int fd, bool read_only) {
    if (::flock(fd, (read_only ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) return FileError::none;
    if (errno == EWOULDBLOCK) return FileError::access_denied;
    if (errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP) return FileError::none;
    return error_from_errno(errno);
}

// A pipe opened for reading and writing is a reader of its own: with nobody else reading, every
// byte written would be taken and lost. Opened for writing only and without waiting, a pipe
// with no reader fails with ENXIO. A reader that goes away later must make a write fall short,
// not end the process. The first handle goes first: as a reader it would answer for itself.
FileError reopen_pipe_for_writing(const std::string& path, int* fd) {
    static const bool broken_pipe_ignored = ::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)broken_pipe_ignored;
    ::close(*fd);
    const int writer = open_retrying(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    *fd = writer;
    if (writer < 0) return error_from_errno(errno);
    const int flags = ::fcntl(writer, F_GETFL);
    if (flags < 0 || ::fcntl(writer, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return error_from_errno(errno);
    }
    return FileError::none;
}

FileError prepare_opened(const std::string& path, int* fd, Creation creation, bool read_only) {
    struct stat info;
    if (::fstat(*fd, &info) != 0) return error_from_errno(errno);
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return FileError::access_denied;
    }
    if (S_ISFIFO(info.st_mode) && !read_only) {
        const FileError reopened = reopen_pipe_for_writing(path, fd);
        if (reopened != FileError::none) return reopened;
    }
    FileError locked = take_lock(*fd, read_only);
    if (locked != FileError::none) return locked;
    if (creation == Creation::create_always && !read_only && S_ISREG(info.st_mode) &&
        ::ftruncate(*fd, 0) != 0) {
        return error_from_errno(errno);
    }
    return FileError::none;
}

}  // namespace

File::File(File&& other) noexcept
    : handle_(other.handle_), read_failed_(other.read_failed_), system_error_(other.system_error_) {
    other.handle_ = kInvalid;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        read_failed_ = other.read_failed_;
        system_error_ = other.system_error_;
        other.handle_ = kInvalid;
    }
    return *this;
}

File File::open(const std::string& path, Creation creation, FileError* error, Access access) {
    const bool read_only = access == Access::read_only;
    FileError result = FileError::none;
    int code = 0;
    int fd = open_retrying(path, open_flags(creation, read_only));
    if (fd < 0) {
        code = errno;
        result = error_from_errno(code);
    } else {
        result = prepare_opened(path, &fd, creation, read_only);
        if (result != FileError::none) {
            code = errno;
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
    }
    if (error) *error = result;
    if (fd >= 0) return File(fd);
    File failed;
    failed.system_error_ = code;
    return failed;
}

void File::close() {
    read_failed_ = false;
    system_error_ = 0;
    if (handle_ == kInvalid) return;
    ::close(fd_of(handle_));  // also releases the lock
    handle_ = kInvalid;
}

std::size_t File::read(std::uint8_t* buffer, std::size_t n) {
    std::size_t done = 0;
    while (is_open() && done < n) {
        ssize_t got = ::read(fd_of(handle_), buffer + done, n - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            read_failed_ = true;
            system_error_ = errno;
        }
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t File::write(const std::uint8_t* data, std::size_t n) {
    // A file-size limit must make a write fall short, as a full disk does, not end the process.
    static const bool size_limit_signal_ignored = ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)size_limit_signal_ignored;
    std::size_t done = 0;
    while (is_open() && done < n) {
        ssize_t put = ::write(fd_of(handle_), data + done, n - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) system_error_ = errno;
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool File::write_whole(const std::uint8_t* data, std::size_t n) {
    if (!is_open()) return false;
    const std::size_t done = write(data, n);
    if (done == n) return true;
    // Step back over what went out and cut it off. The position is asked for only here, which
    // keeps a system call out of every record.
    const off_t start = ::lseek(fd_of(handle_), -static_cast<off_t>(done), SEEK_CUR);
    if (start >= 0) ::ftruncate(fd_of(handle_), start);
    return false;
}

bool File::seek_to_start() {
    return is_open() && ::lseek(fd_of(handle_), 0, SEEK_SET) == 0;
}

bool File::seek_to_end() {
    return is_open() && ::lseek(fd_of(handle_), 0, SEEK_END) >= 0;
}

std::uint64_t File::size() {
    struct stat info;
    if (!is_open() || ::fstat(fd_of(handle_), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

FileIdentity File::identity() {
    struct stat info;
    if (!is_open() || ::fstat(fd_of(handle_), &info) != 0) return {};
    return {S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino)};
}

bool remove_file(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

// lstat: a link put at the path is not the file that was made, even when it points there.
bool remove_made_file(const std::string& path, const FileIdentity& made) {
    struct stat info;
    if (!made.regular || ::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (static_cast<std::uint64_t>(info.st_dev) != made.volume ||
        static_cast<std::uint64_t>(info.st_ino) != made.index) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool file_exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool read_whole_file(const std::string& path, std::string* content) {
    FileError error;
    File file = File::open(path, Creation::open_existing, &error, File::Access::read_only);
    if (!file.is_open()) return false;
    content->clear();
    std::uint8_t buffer[4096];
    for (;;) {
        std::size_t got = file.read(buffer, sizeof buffer);
        content->append(reinterpret_cast<const char*>(buffer), got);
        if (got < sizeof buffer) break;
    }
    return true;
}

}  // namespace platform

namespace platform {

bool File::is_regular() {
    struct stat info;
    return is_open() && ::fstat(fd_of(handle_), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace platform
