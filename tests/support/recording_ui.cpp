// The scripted user of the reader's tests.
#include "tests/support/recording_ui.h"

namespace testing_support {

namespace {
std::string rect_text(const ravelo::ScreenRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

int utf8_length(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

int RecordingScreen::text_width(const std::string& text) {
    calls.push_back("measure " + text);
    return utf8_length(text) * char_width;
}

bool RecordingScreen::save_background(const ravelo::ScreenRect& area) {
    calls.push_back("save " + rect_text(area));
    return true;
}

void RecordingScreen::paint_box(const ravelo::ScreenRect& box, const std::string& text) {
    calls.push_back("paint " + rect_text(box) + " " + text);
}

void RecordingScreen::restore_background(const ravelo::ScreenRect& area) {
    calls.push_back("restore " + rect_text(area));
    if (on_restore) on_restore();
}

std::vector<std::string> first_counter_calls(std::initializer_list<int> counts) {
    std::vector<std::string> calls{"measure Počet přijatých záznamů: 0    ",
                                   "save 382,354,642,394"};
    for (int count : counts) {
        calls.push_back("paint 382,354,642,394 Počet přijatých záznamů: " + std::to_string(count));
    }
    calls.push_back("restore 382,354,642,394");
    return calls;
}

void RecordingBoxes::show(const common::Box& box) {
    messages.push_back({box.caption, box.text, false, box.icon, box.owner});
}

bool RecordingBoxes::ask(const common::Box& box) {
    messages.push_back({box.caption, box.text, true, box.icon, box.owner});
    if (while_asking) while_asking();
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingUi::open_in_viewer(const std::string& path) {
    viewed.push_back(path);
}

common::DialogEnd RecordingUi::run_properties_dialog(ravelo::Reader& reader) {
    ++properties_runs;
    return on_properties ? on_properties(reader) : properties_result;
}

ravelo::PollingEnd RecordingUi::run_polling_window(ravelo::Reader& reader) {
    ++polling_runs;
    return on_polling ? on_polling(reader) : polling_result;
}

}  // namespace testing_support
