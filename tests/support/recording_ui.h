// A scripted user: records every message box and counter drawing, answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "common/message_boxes.h"
#include "reader/reader_ui.h"
#include "reader/win32/counter_box.h"

namespace testing_support {

struct ShownMessage {
    std::string caption;
    std::string text;
    bool question = false;
    common::BoxIcon icon = common::BoxIcon::none;
    common::BoxOwner owner = common::BoxOwner::active_window;
    bool operator==(const ShownMessage& o) const {
        return caption == o.caption && text == o.text && question == o.question && icon == o.icon &&
               owner == o.owner;
    }
};

// The reader's one error box, as a list of what was shown.
inline std::vector<ShownMessage> reader_error(const std::string& text) {
    return {{"Chyba", text}};
}

inline void PrintTo(const ShownMessage& m, std::ostream* os) {
    *os << (m.question ? "question " : "message ") << '[' << m.caption << "] " << m.text
        << " (icon " << static_cast<int>(m.icon)
        << (m.owner == common::BoxOwner::none ? ", no owner)" : ")");
}

// Every call the counter made on the screen, as one line each, e.g. "save 467,354,533,394".
class RecordingScreen : public ravelo::CounterScreen {
  public:
    int width = 1024;
    int height = 768;
    // Pixels per character of the measured text (the text is UTF-8; characters are counted).
    int char_width = 7;
    std::vector<std::string> calls;
    // Runs as the box is taken down: the transfer's end, with the output still open.
    std::function<void()> on_restore;

    int screen_width() override { return width; }
    int screen_height() override { return height; }
    int text_width(const std::string& text) override;
    bool save_background(const ravelo::ScreenRect& area) override;
    void paint_box(const ravelo::ScreenRect& box, const std::string& text) override;
    void restore_background(const ravelo::ScreenRect& area) override;
};

// Every message box shown, with Yes/No answers taken from a script.
class RecordingBoxes : public common::MessageBoxes {
  public:
    std::vector<ShownMessage> messages;
    std::deque<bool> answers;            // Yes/No answers, in order; No when it runs out
    std::function<void()> while_asking;  // runs while a question is open: a user thinking it over

  protected:
    void show(const common::Box& box) override;
    bool ask(const common::Box& box) override;
};

// A first transfer's counter on the default screen, painted at each of `counts`.
std::vector<std::string> first_counter_calls(std::initializer_list<int> counts = {});

class RecordingUi : public ravelo::ReaderUi, public RecordingBoxes {
  public:
    std::vector<std::string> viewed;
    common::DialogEnd properties_result = common::DialogEnd::cancelled;
    ravelo::PollingEnd polling_result = ravelo::PollingEnd::closed;
    int properties_runs = 0;
    int polling_runs = 0;
    std::function<common::DialogEnd(ravelo::Reader&)> on_properties;  // overrides properties_result
    std::function<ravelo::PollingEnd(ravelo::Reader&)> on_polling;    // overrides polling_result
    RecordingScreen screen;
    ravelo::CounterBox counter{screen};  // the Windows box, drawn on the recording screen

    void open_in_viewer(const std::string& path) override;
    common::DialogEnd run_properties_dialog(ravelo::Reader& reader) override;
    ravelo::PollingEnd run_polling_window(ravelo::Reader& reader) override;
    ravelo::CounterView& counter_view() override { return counter; }
};

}  // namespace testing_support
