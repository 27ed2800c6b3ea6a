// Message boxes and the yes/no question, as both programs show them.
#pragma once

#include <string>

namespace common {

enum class BoxIcon { none, exclamation, question };
// Whether the box is owned by the active window or by none (the first box of a run).
enum class BoxOwner { active_window, none };

struct Box {
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::none;
    BoxOwner owner = BoxOwner::active_window;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    // A box with an OK button.
    void show_message(const std::string& caption, const std::string& text,
                      BoxIcon icon = BoxIcon::none, BoxOwner owner = BoxOwner::active_window) {
        show(Box{caption, text, icon, owner});
    }
    // A box with Yes and No; true for Yes.
    bool ask_yes_no(const std::string& caption, const std::string& text,
                    BoxIcon icon = BoxIcon::none) {
        return ask(Box{caption, text, icon, BoxOwner::active_window});
    }

  protected:
    virtual void show(const Box& box) = 0;
    virtual bool ask(const Box& box) = 0;
};

}  // namespace common
