#include "ui/QtServices.h"

namespace qnr::ui {

void QtServices::setMainWindow(QWidget* window) {
    dialogs_.setParent(window);
    chooser_.setParent(window);
    printer_.setParent(window);
}

platform::Services QtServices::services() {
    platform::Services s;
    s.dialogs = &dialogs_;
    s.chooser = &chooser_;
    s.clock = &clock_;
    s.identity = &identity_;
    s.files = &files_;
    s.sound = &sound_;
    s.printer = &printer_;
    s.processes = &processes_;
    return s;
}

}  // namespace qnr::ui
