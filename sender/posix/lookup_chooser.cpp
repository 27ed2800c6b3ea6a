// The chooser's prompt: the directory's lookup files by number, any other file by its path.
#include "sender/posix/lookup_chooser.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "common/posix/form_fields.h"
#include "common/posix/terminal_io.h"
#include "platform/paths.h"
#include "platform/printable_text.h"

namespace lumbra {

namespace {

namespace fs = std::filesystem;

struct Chooser {
    common::FormTerminal& terminal;
    std::string directory;
    std::string proposed;  // the name Enter takes; may be empty
    std::vector<std::string> files;
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool is_lookup_name(const std::string& name) {
    return name.size() > 4 && lower(name.substr(name.size() - 4)) == ".txt";
}

bool by_name(const std::string& a, const std::string& b) {
    const std::string la = lower(a);
    const std::string lb = lower(b);
    return la != lb ? la < lb : a < b;
}

// A file in the root is stored with an empty directory, as "C:" stands for a drive's root.
std::string usable_directory(const std::string& directory) {
    return directory.empty() ? "/" : directory;
}

std::string resolve(const Chooser& c, const std::string& answer) {
    const std::string path = platform::resolve_path(c.directory, answer);
    return fs::path(path).lexically_normal().string();
}

void list_directory(Chooser& c) {
    c.files = lookup_files_in(c.directory);
    std::string text = "\nVýběr lookup souboru (Lookup soubory {*.TXT})\nAdresář: " +
                       platform::printable(c.directory) + "\n";
    if (c.files.empty()) text += "  (žádné soubory *.TXT)\n";
    for (std::size_t i = 0; i < c.files.size(); ++i) {
        text += "  " + std::to_string(i + 1) + ") " + platform::printable(c.files[i]) + "\n";
    }
    c.terminal.write(text);
}

std::string prompt(const Chooser& c) {
    if (c.proposed.empty()) return "Číslo nebo cesta souboru (Enter, Esc nebo Ctrl+D = zrušit): ";
    return "Číslo nebo cesta souboru [" + platform::printable(c.proposed) +
           "] (Enter = navržený soubor, Esc nebo Ctrl+D = zrušit): ";
}

// The path an answer names; empty when the answer cancels the chooser.
std::string path_of(const Chooser& c, const std::string& answer) {
    if (common::is_escape(answer)) return "";
    if (answer.empty()) return c.proposed.empty() ? "" : resolve(c, c.proposed);
    if (const std::optional<int> chosen = common::numbered_choice(answer, c.files.size()))
        return resolve(c, c.files[static_cast<std::size_t>(*chosen)]);
    return resolve(c, answer);
}

}  // namespace

std::vector<std::string> lookup_files_in(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (is_lookup_name(name) && it->is_regular_file(ignored)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), by_name);
    return names;
}

bool run_lookup_chooser(SenderSettings& settings, common::FormTerminal& terminal) {
    Chooser c{terminal, usable_directory(settings.directory), settings.lookup_path, {}};
    list_directory(c);
    for (;;) {
        terminal.write(prompt(c));
        std::string answer;
        if (!terminal.read_line(answer)) return false;
        const std::string path = path_of(c, answer);
        if (path.empty()) return false;
        std::error_code error;
        if (fs::is_directory(path, error)) {
            c.directory = path;
            list_directory(c);
        } else if (fs::exists(path, error)) {
            settings.lookup_path = path;
            return true;
        } else {
            terminal.write("Soubor " + platform::printable(path) + " neexistuje.\n");
        }
    }
}

bool show_lookup_chooser(SenderSettings& settings) {
    const int fd = common::open_controlling_terminal();
    if (fd < 0) return false;
    common::TtyFormTerminal terminal(fd);
    return run_lookup_chooser(settings, terminal);
}

}  // namespace lumbra
