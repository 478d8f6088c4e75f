#pragma once
// Messages and questions to the user. The core states the exact text, caption,
// buttons and icon; the window layer shows them, tests script the answers.
#include <optional>
#include <string>

namespace qnr::platform {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { OK, Cancel, Yes, No };

struct Message {
    std::string text;     // Latin-1, line breaks as "\r\n"
    std::string caption;  // Latin-1
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal; returns the button pressed (closing the box counts as Cancel, or No
    // for Yes/No boxes).
    virtual Answer ask(const Message& message) = 0;
    virtual void beep() = 0;
    // A one-line text input; nullopt when cancelled.
    virtual std::optional<std::string> inputLine(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial) = 0;

    // Convenience: a message with only an OK button.
    void show(const std::string& text, const std::string& caption, Icon icon = Icon::None) {
        ask(Message{text, caption, Buttons::OK, icon});
    }
};

}  // namespace qnr::platform
