// A terminal form's answers from a script: each read gives the next line, and all it writes is
// kept.
#pragma once

#include <deque>
#include <string>
#include <utility>

#include "common/posix/form_terminal.h"

namespace testing_support {

class ScriptedTerminal : public common::FormTerminal {
  public:
    explicit ScriptedTerminal(std::deque<std::string> answers) : answers_(std::move(answers)) {}
    // After the last answer the input ends, as Ctrl+D ends it.
    bool read_line(std::string& line) override {
        if (answers_.empty()) return false;
        line = answers_.front();
        answers_.pop_front();
        return true;
    }
    void write(const std::string& text) override { shown += text; }

    std::string shown;

  private:
    std::deque<std::string> answers_;
};

}  // namespace testing_support
