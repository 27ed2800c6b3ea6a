// What the fuzz targets share: a failed property stops the run, a scratch folder, file bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sender/sender_ui.h"

namespace fuzz {

// Aborts with the message when a property of the code under test does not hold, so that
// libFuzzer keeps the input that broke it.
void require(bool holds, const std::string& what);
// The same for an index into a list of `count` entries.
inline void require_index(int index, int count, const char* what) {
    require(index >= 0 && index < count, what);
}

// A folder of this process's own, made once and reused by every input.
const std::string& scratch_folder();

std::string as_string(const std::uint8_t* data, std::size_t size);
void write_file(const std::string& path, const std::string& bytes);

// Text a settings file can hold as it is: one line, and every character in code page 1250.
bool writes_back_unchanged(const std::string& text);

// Characters of UTF-8 text, each byte of malformed input counting as one.
std::size_t characters(const std::string& text);

// The sender's user: no file chosen, no port dialog, the progress bar's positions kept.
class SenderUser : public lumbra::SenderUi {
  public:
    std::vector<int> progress;

    bool choose_lookup_file(lumbra::Sender&) override { return false; }
    common::DialogEnd run_port_dialog(lumbra::Sender&) override {
        return common::DialogEnd::cancelled;
    }
    void init_common_controls() override {}
    void open_progress_window() override { progress.push_back(0); }
    void set_progress(int percent) override { progress.push_back(percent); }
    void close_progress_window() override {}
};

}  // namespace fuzz
