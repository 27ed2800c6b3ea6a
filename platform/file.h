// Files as both programs use them: explicit creation modes, one writer at a time, closed on
// destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

enum class Creation { create_always, create_new, open_existing, open_always };
enum class FileError { none, exists, not_found, access_denied, other };

// Which file an open handle reached, so that it can be told apart from whatever the path names
// later. `regular` is false for a device, a pipe, a directory, or when it cannot be told.
struct FileIdentity {
    bool regular = false;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};

class File {
  public:
    File() = default;
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // What an open may do with the file: read it only, or read and write it.
    enum class Access { read_write, read_only };

    // Opens for reading and writing, or for reading only. A file opened for writing
    // refuses a second writer but lets other programs read it; a file opened for reading lets
    // others read and write it. Windows: an open that another program's share mode refuses for
    // the moment (a virus scanner, an indexer, a backup) is tried again for about half a second,
    // and a name that the system turns into a device (NUL.TXT, COM1.TXT) is refused. POSIX: a
    // writer takes an exclusive flock and a reader a shared one, and a pipe with no reader is
    // refused for writing, since it would swallow every byte.
    static File open(const std::string& path, Creation creation, FileError* error,
                     Access access = Access::read_write);

    bool is_open() const { return handle_ != kInvalid; }
    void close();

    std::size_t read(std::uint8_t* buffer, std::size_t n);
    // True once a read has failed (a disk or pipe error), as against reaching the end: a short
    // read alone cannot tell a damaged source from a whole one.
    bool read_failed() const { return read_failed_; }
    // The system's code (errno) for this file's failed open, read or write; 0 when none, and
    // always 0 on Windows. A failed open returns a File that holds it.
    int system_error() const { return system_error_; }
    // Returns how many bytes were written.
    std::size_t write(const std::uint8_t* data, std::size_t n);
    std::size_t write(const std::string& data) {
        return write(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    // All n bytes, or none: a write that falls short (a full disk, a size limit) is cut off
    // again, so the file never ends in part of a record. True when all n went out.
    bool write_whole(const std::uint8_t* data, std::size_t n);
    bool seek_to_start();
    bool seek_to_end();
    std::uint64_t size();
    FileIdentity identity();

    // A regular file on disk, whose size and contents can be read again; false for a pipe, a
    // FIFO or a device.
    bool is_regular();

  private:
    static constexpr std::intptr_t kInvalid = -1;
    explicit File(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = kInvalid;
    bool read_failed_ = false;
    int system_error_ = 0;
};

bool remove_file(const std::string& path);
// Removes the file at `path` only when it is still the regular file `made` describes: never a
// device, a pipe, or a file put there since by someone else.
bool remove_made_file(const std::string& path, const FileIdentity& made);
bool file_exists(const std::string& path);
// Reads a whole file; false when it cannot be opened.
bool read_whole_file(const std::string& path, std::string* content);

}  // namespace platform
