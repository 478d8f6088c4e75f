#pragma once
// Message boxes and one-line input over QMessageBox and QInputDialog.
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "platform/Dialogs.h"

namespace qnr::ui {

// The pure mapping between the core's message and a Qt box, kept apart so
// that it can be checked without showing anything.
QMessageBox::StandardButtons StandardButtonsFor(platform::Buttons buttons);
QMessageBox::StandardButton DefaultButtonFor(platform::Buttons buttons);
// The button that Escape or closing the box presses.
QMessageBox::StandardButton EscapeButtonFor(platform::Buttons buttons);
QMessageBox::Icon IconFor(platform::Icon icon);
// Latin-1 with "\r\n" line breaks -> QString with "\n".
QString MessageText(const std::string& latin1);
// The box's result -> the core's answer; anything unexpected counts as the
// escape button.
platform::Answer AnswerFor(int result, platform::Buttons buttons);
// Fills a box from a message (text, caption, icon, buttons, default, escape).
void ConfigureMessageBox(QMessageBox& box, const platform::Message& message);

class QtDialogs final : public platform::Dialogs {
public:
    // Boxes are centred over `parent`, else over the active window.
    void setParent(QWidget* parent) { parent_ = parent; }

    platform::Answer ask(const platform::Message& message) override;
    void beep() override;
    std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override;

private:
    QWidget* owner() const;
    QPointer<QWidget> parent_;
};

}  // namespace qnr::ui
