#include "help/win/ListWindow.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include "help/TextLists.h"
#include "ui/Latin1.h"

namespace qnr::help {

QAction* MenuItem(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QFont ListFont(int points) {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(points);
    return font;
}

void FillList(QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const std::string& line : lines) list->addItem(ui::ToQString(line));
}

bool ShowListLine(QListWidget* list, int row) {
    if (row < 0 || row >= list->count()) return false;
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
    return true;
}

int WidestLine(const QListWidget* list) {
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
    return widest;
}

void SizeToLines(QWidget* window, QListWidget* list, int margin) {
    const QFontMetrics metrics(list->font());
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const ClientSize size = ListClientSize(WidestLine(list), list->count(), metrics.height(), screenWidth, margin);
    // Whatever surrounds the list (menu bar, frames) is added on top of its own area.
    if (window->layout()) window->layout()->activate();
    const QSize extra = window->size() - list->size();
    window->resize(size.width + std::max(extra.width(), 0), size.height + std::max(extra.height(), 0));
}

BusyWindow::BusyWindow(QWidget* window) : window_(window) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (window_) window_->setEnabled(false);
}

BusyWindow::~BusyWindow() {
    if (window_) window_->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

}  // namespace qnr::help
