// Where a terminal form reads its answers and writes its text: the terminal, or a test's script.
#pragma once

#include <optional>
#include <string>

#include "common/posix/terminal_io.h"

namespace common {

class FormTerminal {
  public:
    virtual ~FormTerminal() = default;
    // One line without its line end; false at the end of input.
    virtual bool read_line(std::string& line) = 0;
    virtual void write(const std::string& text) = 0;
};

// The controlling terminal, opened for one form and closed with it.
class TtyFormTerminal : public FormTerminal {
  public:
    // Takes over an open descriptor of the terminal.
    explicit TtyFormTerminal(int fd) : fd_(fd) { escape_ends_lines_.emplace(fd); }
    ~TtyFormTerminal() override;
    TtyFormTerminal(const TtyFormTerminal&) = delete;
    TtyFormTerminal& operator=(const TtyFormTerminal&) = delete;

    bool read_line(std::string& line) override;
    void write(const std::string& text) override;

  private:
    int fd_;
    std::optional<EscEndsLines> escape_ends_lines_;  // ended before the terminal is closed
};

}  // namespace common
