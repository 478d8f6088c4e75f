#pragma once
// Pieces every list window shares on screen: the fixed-pitch list font,
// filling a list box, sizing a window to its lines, and the busy state while
// printing.
#include <QFont>
#include <QPointer>
#include <string>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QWidget;

namespace qnr::help {

// "Courier New", or the nearest fixed-pitch face the desktop has.
QFont ListFont(int points);

void FillList(QListWidget* list, const std::vector<std::string>& lines);
// A menu item with the object name tests and menu states find it by.
QAction* MenuItem(QMenu* menu, const char* name, const char* text);
int WidestLine(const QListWidget* list);
// Moves the cursor to a line (one a search found, the selected one) and
// scrolls it into view; false, and nothing moves, when the row is not in the list.
bool ShowListLine(QListWidget* list, int row);

// Resizes `window` so that the list's area is the size the list-window rule
// gives (widest line + margin, 22.3 or lines + 1.3 line heights); the rest of
// the window (menu bar, frame of the list) comes on top.
void SizeToLines(QWidget* window, QListWidget* list, int margin);

// Where a window goes that its opener's rules do not place: beside the
// window that opened it (to its right when the screen has room, else to its
// left, else over it below its menu bar), wholly on that screen. A null
// opener leaves the window where it is.
void PlaceBeside(QWidget* window, const QWidget* opener);
// The window that opens `window`: its parent's window, else the active one.
const QWidget* OpenerOf(const QWidget* window);

// The hourglass and a disabled window for as long as it lives.
class BusyWindow {
public:
    explicit BusyWindow(QWidget* window);
    ~BusyWindow();
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    QPointer<QWidget> window_;
};

}  // namespace qnr::help
