#include "help/win/ListWindow.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QListWidget>
#include <QMainWindow>
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

void PlaceBeside(QWidget* window, const QWidget* opener) {
    if (!window || !opener || opener == window) return;
    const QScreen* screen = opener->screen() ? opener->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect o = opener->frameGeometry();
    // The frame's size: the window's own plus whatever frame the desktop gives it.
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    int x = 0, y = o.top();
    if (o.right() + 1 + size.width() <= area.right() + 1) {
        x = o.right() + 1;
    } else if (o.left() - size.width() >= area.left()) {
        x = o.left() - size.width();
    } else {
        // Over the opener, leaving its title and menu bar in sight.
        int menuBottom = opener->geometry().top();
        if (const auto* main = qobject_cast<const QMainWindow*>(opener); main && main->menuWidget())
            menuBottom += main->menuWidget()->geometry().bottom() + 1;
        x = o.left() + 40;
        y = menuBottom + 10;
    }
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    window->move(x, y);
}

const QWidget* OpenerOf(const QWidget* window) {
    if (window && window->parentWidget()) return window->parentWidget()->window();
    const QWidget* active = QApplication::activeWindow();
    return active == window ? nullptr : active;
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
