// The properties dialog's rules: opening state, online switch, interval edit, OK and browse.
#include "reader/properties_rules.h"

#include <cctype>
#include <cstdint>
#include <utility>

#include "common/port_labels.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace ravelo {

namespace {

// Digits with optional blanks around them; anything else (a sign, a letter) is not a number.
// Values beyond any valid interval saturate, so a long row of digits still counts as "too big".
std::optional<std::uint32_t> parse_unsigned(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t digits_start = i;
    std::uint32_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value < 100000) value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (i == digits_start) return std::nullopt;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i != text.size()) return std::nullopt;
    return value;
}

int index_or_none(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

// No selection (a hand-edited settings file) stores the list's first entry.
int index_or_first(int index, std::size_t count) {
    return index_or_none(index, count) < 0 ? 0 : index;
}

void show_file_mode(const ReaderSettings& settings, PropertiesView& view) {
    view.file_mode = index_or_none(settings.file_mode, file_mode_labels(view.online).size());
}

}  // namespace

const std::vector<std::string>& file_mode_labels(bool online) {
    static const std::vector<std::string> offline_labels = {"Přepsat", "Přidat", "Nové jméno",
                                                            "Auto"};
    static const std::vector<std::string> online_labels = {"Auto", "Přidat", "Přepsat"};
    return online ? online_labels : offline_labels;
}

PropertiesView open_properties(ReaderSettings& settings) {
    PropertiesView view;
    view.directory = settings.directory;
    view.file_name = settings.file_name;
    view.interval = std::to_string(settings.poll_interval);
    view.port = index_or_none(settings.port_index, common::port_labels(kPortCount).size());
    view.baud = index_or_none(settings.baud_index, common::baud_labels().size());
    view.append_cr = settings.append_cr != 0;
    view.append_lf = settings.append_lf != 0;
    view.show_errors = settings.show_errors != 0;
    view.always_ask = settings.always_ask != 0;
    view.online = settings.online != 0;
    if (view.online && settings.file_mode > 2) settings.file_mode = 0;
    view.show_received = !view.online && settings.show_received != 0;
    show_file_mode(settings, view);
    return view;
}

void switch_online(ReaderSettings& settings, PropertiesView& view) {
    view.online = !view.online;
    settings.online = view.online ? 1 : 0;
    if (view.online) {
        if (settings.file_mode > 2) settings.file_mode = 0;
        view.show_received = false;
    }
    show_file_mode(settings, view);
}

std::optional<std::string> interval_text_changed(ReaderSettings& settings,
                                                 const std::string& text) {
    std::optional<std::uint32_t> number = parse_unsigned(text);
    if (!number) {
        if (text.empty()) return std::nullopt;
        return std::to_string(settings.poll_interval);
    }
    if (*number > static_cast<std::uint32_t>(kMaxPollInterval)) {
        settings.poll_interval = kMaxPollInterval;
        return std::to_string(kMaxPollInterval);
    }
    if (*number < static_cast<std::uint32_t>(kMinPollInterval)) {
        return std::to_string(settings.poll_interval);
    }
    settings.poll_interval = static_cast<int>(*number);
    return std::nullopt;
}

std::string settle_interval_text(ReaderSettings& settings, std::string text) {
    // Each replacement is a valid number, so this ends after at most two rounds.
    for (int round = 0; round < 3; ++round) {
        std::optional<std::string> replacement = interval_text_changed(settings, text);
        if (!replacement) break;
        text = *replacement;
    }
    return text;
}

void accept_properties(ReaderSettings& settings, std::string& output_path,
                       const PropertiesView& view) {
    settings.directory = cut_characters(view.directory, kDirectoryEditLimit);
    settings.file_name = cut_characters(view.file_name, kFileNameEditLimit);
    output_path = platform::resolve_path(settings.directory, settings.file_name);
    settings.port_index = index_or_first(view.port, common::port_labels(kPortCount).size());
    settings.baud_index = index_or_first(view.baud, common::baud_labels().size());
    settings.file_mode = index_or_first(view.file_mode, file_mode_labels(view.online).size());
    settings.append_cr = view.append_cr ? 1 : 0;
    settings.append_lf = view.append_lf ? 1 : 0;
    settings.show_errors = view.show_errors ? 1 : 0;
    settings.show_received = view.show_received && !view.online ? 1 : 0;
    settings.always_ask = view.always_ask ? 1 : 0;
    settings.online = view.online ? 1 : 0;
}

void apply_browsed_path(ReaderSettings& settings, std::string& output_path,
                        const std::string& chosen) {
    output_path = chosen;
    platform::ChosenPath parts = platform::split_chosen_path(chosen);
    // No separator at all: the name is the whole path, relative to the current directory.
    settings.directory = parts.directory.value_or(std::string());
    settings.file_name = std::move(parts.name);
}

std::string cut_characters(const std::string& text, std::size_t limit) {
    return std::string(platform::first_characters(text, limit));
}

}  // namespace ravelo
