#include "ui/QtDialogs.h"

#include <QApplication>
#include <QInputDialog>

#include "ui/Latin1.h"

namespace qnr::ui {

using platform::Answer;
using platform::Buttons;

QMessageBox::StandardButtons StandardButtonsFor(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK: return QMessageBox::Ok;
        case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton DefaultButtonFor(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
        case Buttons::OKCancel: return QMessageBox::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel: return QMessageBox::Yes;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton EscapeButtonFor(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK: return QMessageBox::Ok;
        case Buttons::OKCancel:
        case Buttons::YesNoCancel: return QMessageBox::Cancel;
        case Buttons::YesNo: return QMessageBox::No;
    }
    return QMessageBox::Cancel;
}

QMessageBox::Icon IconFor(platform::Icon icon) {
    switch (icon) {
        case platform::Icon::None: return QMessageBox::NoIcon;
        case platform::Icon::Information: return QMessageBox::Information;
        case platform::Icon::Warning: return QMessageBox::Warning;
        case platform::Icon::Error: return QMessageBox::Critical;
        case platform::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString MessageText(const std::string& latin1) {
    QString text = ToQString(latin1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

Answer AnswerFor(int result, Buttons buttons) {
    switch (result) {
        case QMessageBox::Ok: return Answer::OK;
        case QMessageBox::Cancel: return Answer::Cancel;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: break;
    }
    switch (EscapeButtonFor(buttons)) {
        case QMessageBox::Ok: return Answer::OK;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

void ConfigureMessageBox(QMessageBox& box, const platform::Message& message) {
    box.setText(MessageText(message.text));
    box.setWindowTitle(ToQString(message.caption));
    box.setIcon(IconFor(message.icon));
    // The texts carry their own line breaks; rich-text guessing would eat "<" and "&".
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(StandardButtonsFor(message.buttons));
    box.setDefaultButton(DefaultButtonFor(message.buttons));
    box.setEscapeButton(EscapeButtonFor(message.buttons));
}

QWidget* QtDialogs::owner() const {
    if (parent_) return parent_.data();
    return QApplication::activeWindow();
}

Answer QtDialogs::ask(const platform::Message& message) {
    QMessageBox box(owner());
    ConfigureMessageBox(box, message);
    return AnswerFor(box.exec(), message.buttons);
}

void QtDialogs::beep() { QApplication::beep(); }

std::optional<std::string> QtDialogs::inputLine(const std::string& caption, const std::string& prompt,
                                                const std::string& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), ToQString(caption), MessageText(prompt),
                                               QLineEdit::Normal, ToQString(initial), &ok);
    if (!ok) return std::nullopt;
    return ToLatin1(text);
}

}  // namespace qnr::ui
