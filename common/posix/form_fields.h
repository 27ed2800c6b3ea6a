// The pieces of a numbered terminal form: field and check-box lines, answers, numbered choices.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/posix/form_terminal.h"

namespace common {

// An empty answer, or one that starts with Esc, keeps the value.
bool keeps_value(const std::string& answer);
// True when the answer starts with Esc.
bool is_escape(const std::string& answer);

// "   3  COM port :            COM1", the label padded so the values stand in one column.
std::string field_line(int item, const std::string& label, const std::string& value,
                       bool usable = true);
// "   6  [x] label".
std::string box_line(int item, bool checked, const std::string& label, bool usable = true);
// The entry's label, or "(nic)" for an index outside the list.
std::string choice_label(const std::vector<std::string>& labels, int index);

// The 0-based index of an answer "1".."count"; none for anything else.
std::optional<int> numbered_choice(const std::string& answer, std::size_t count);

// Writes the prompt and reads the answer; false when the answer keeps the old value (or input
// ended).
bool ask(FormTerminal& terminal, const std::string& prompt, std::string& answer);
// A list as numbered choices; the chosen index, or `current` when the answer keeps it or names
// no entry ("Neplatná volba, hodnota zůstává.").
int choose(FormTerminal& terminal, const std::string& label, const std::vector<std::string>& labels,
           int current);

}  // namespace common
