// The properties dialog's rules as plain functions, shared by the Win32 dialog and the terminal
// form.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reader/reader_settings.h"

namespace ravelo {

// What the dialog's controls show; the toolkit code moves these to and from the real controls.
struct PropertiesView {
    std::string directory;   // edit 601
    std::string file_name;   // edit 602
    std::string interval;    // edit 603
    int port = -1;           // list 701; -1 shows no selection
    int baud = -1;           // list 702
    int file_mode = -1;      // list 703
    bool append_cr = false;  // check boxes 801..806
    bool append_lf = false;
    bool show_errors = false;
    bool show_received = false;
    bool always_ask = false;
    bool online = false;
};

constexpr std::size_t kDirectoryEditLimit = 254;  // characters read back from edit 601
constexpr std::size_t kFileNameEditLimit = 61;    // characters read back from edit 602

// List 703 offline ("Přepsat", ...) or online ("Auto", ...).
const std::vector<std::string>& file_mode_labels(bool online);

// Box 804 is usable only offline; the interval controls 401, 402, 603 only online.
inline bool show_received_enabled(bool online) {
    return !online;
}
inline bool interval_enabled(bool online) {
    return online;
}

// The dialog's opening state; an online file_mode beyond the online list becomes 0.
PropertiesView open_properties(ReaderSettings& settings);

// The online switch (806): flips it, swaps the file-mode list and keeps the index where it can.
void switch_online(ReaderSettings& settings, PropertiesView& view);

// A change of the interval edit's text. Returns the text to put into the edit instead, if any;
// valid numbers (1..9999) become poll_interval at once.
std::optional<std::string> interval_text_changed(ReaderSettings& settings, const std::string& text);
// Applies interval_text_changed until the edit holds a text it accepts (for toolkits whose edit
// sends no change notice of its own after a replacement); returns that text.
std::string settle_interval_text(ReaderSettings& settings, std::string text);

// OK: reads every control back into the settings and builds the output path.
void accept_properties(ReaderSettings& settings, std::string& output_path,
                       const PropertiesView& view);

// A path chosen in the save dialog, split into directory (without its final separator; a drive
// root keeps "C:") and file name. Sets output_path to the chosen path.
void apply_browsed_path(ReaderSettings& settings, std::string& output_path,
                        const std::string& chosen);

// The first `limit` characters of UTF-8 text.
std::string cut_characters(const std::string& text, std::size_t limit);

}  // namespace ravelo
