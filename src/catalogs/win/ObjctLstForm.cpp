#include "catalogs/win/ObjctLstForm.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "help/win/GetSrchStrDlg.h"
#include "help/win/ListWindow.h"
#include "ui/Latin1.h"

namespace qnr::catalogs {

namespace {

QAction* Item(QMenu* menu, const char* name, const char* text) { return help::MenuItem(menu, name, text); }

}  // namespace

TObjctListForm1::TObjctListForm1(ObjectListReport& report, help::TGetSrchStrDlg* search, QWidget* parent)
    : QMainWindow(parent), report_(report), search_(search ? search : new help::TGetSrchStrDlg(this)) {
    setObjectName(QStringLiteral("ObjctListForm1"));

    List1 = menuBar()->addMenu(QStringLiteral("&List"));
    List1->setObjectName(QStringLiteral("List1"));
    Search1 = Item(List1, "Search1", "&Search...");
    Print1 = Item(List1, "Print1", "&Print...");
    Print1->setCheckable(true);
    SaveasText1 = List1->addMenu(QStringLiteral("Save &Text"));
    SaveasText1->setObjectName(QStringLiteral("SaveasText1"));
    SaveasText1->menuAction()->setCheckable(true);
    AsDisplayed1 = Item(SaveasText1, "AsDisplayed1", "As &Displayed...");
    CommaDelimit = Item(SaveasText1, "CommaDelimit", "&Comma Delimit (for Spreadsheet)...");
    List1->addSeparator();
    Close1 = Item(List1, "Close1", "&Close");

    Edit1 = menuBar()->addMenu(QStringLiteral("&Selection"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    SelectionData1 = Item(Edit1, "SelectionData1", "&Get Selection Data");
    AddtoCurrentHotList2 = Item(Edit1, "AddtoCurrentHotList2", "&Add Selection to Current Hot List");
    StartNewHotList2 = Item(Edit1, "StartNewHotList2", "Start &New Hot List with Selection");
    EntireList2 = Item(Edit1, "EntireList2", "&Create New Hot List of Entire List");

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    AddtoCurrentHotList1 = Item(PopupMenu1, "AddtoCurrentHotList1", "&Add Selection to Current Hot List");
    StartNewHotList1 = Item(PopupMenu1, "StartNewHotList1", "Start &New Hot List with Selection");
    EntireList1 = Item(PopupMenu1, "EntireList1", "&Create New Hot List of Entire List");

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(help::ListFont(10));
    ListBox1->viewport()->installEventFilter(this);
    ListBox1->installEventFilter(this);
    setCentralWidget(ListBox1);

    connect(Search1, &QAction::triggered, this, &TObjctListForm1::Search1Click);
    connect(Print1, &QAction::triggered, this, &TObjctListForm1::Print1Click);
    connect(AsDisplayed1, &QAction::triggered, this, &TObjctListForm1::AsDisplayed1Click);
    connect(CommaDelimit, &QAction::triggered, this, [this] { report_.CommaDelimit(); });
    connect(Close1, &QAction::triggered, this, &QWidget::hide);
    connect(SelectionData1, &QAction::triggered, this, &TObjctListForm1::ListBox1DblClick);
    for (QAction* add : {AddtoCurrentHotList1, AddtoCurrentHotList2})
        connect(add, &QAction::triggered, this, [this] { report_.AddToCurrentHotList(); });
    for (QAction* start : {StartNewHotList1, StartNewHotList2})
        connect(start, &QAction::triggered, this, [this] { report_.StartNewHotList(); });
    for (QAction* entire : {EntireList1, EntireList2})
        connect(entire, &QAction::triggered, this, &TObjctListForm1::EntireList1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] {
        report_.SelectLine(ListBox1->currentRow());
        UpdateItems();
        ListBox1DblClick();
    });
}

void TObjctListForm1::ShowReport() {
    setWindowTitle(ui::ToQString(report_.caption()));
    help::FillList(ListBox1, report_.lines());
    report_.Activate();
    UpdateItems();
    CommaDelimit->setEnabled(false);
    const bool opening = !isVisible();
    show();
    help::SizeToLines(this, ListBox1, 30);
    if (opening) help::PlaceBeside(this, help::OpenerOf(this));
    raise();
    activateWindow();
}

void TObjctListForm1::UpdateItems() {
    const bool selection = report_.hasSelection();
    SelectionData1->setEnabled(selection);
    AddtoCurrentHotList2->setEnabled(selection);
    StartNewHotList2->setEnabled(selection);
    Print1->setChecked(report_.printed());
    SaveasText1->menuAction()->setChecked(report_.saved());
}

bool TObjctListForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool release = event->type() == QEvent::MouseButtonRelease && watched == ListBox1->viewport();
    const bool key = event->type() == QEvent::KeyRelease && watched == ListBox1;
    if (release || key) {
        report_.SelectLine(ListBox1->currentRow());
        UpdateItems();
    }
    if (release) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        const int row = ListBox1->row(ListBox1->itemAt(at));
        if (mouse->button() == Qt::RightButton && row >= 0) {
            ListBox1->setCurrentRow(row);
            report_.SelectLine(row);
            UpdateItems();
            if (report_.hasSelection())
                PopupMenu1->popup(pos() + ListBox1->viewport()->mapTo(this, at) + QPoint(20, 50));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TObjctListForm1::ListBox1DblClick() {
    if (report_.hasSelection()) report_.SelectionData();
}

void TObjctListForm1::EntireList1Click() { report_.EntireList(); }

void TObjctListForm1::Search1Click() {
    const help::SearchStart start = search_->Run(report_.search, QStringLiteral("Find Text String"));
    if (help::ShowListLine(ListBox1, report_.Search(start, ListBox1->currentRow()))) UpdateItems();
    ListBox1->setFocus();
}

void TObjctListForm1::Print1Click() {
    {
        help::BusyWindow busy(this);
        report_.Print();
    }
    UpdateItems();
}

void TObjctListForm1::AsDisplayed1Click() {
    report_.SaveAsText();
    UpdateItems();
}

}  // namespace qnr::catalogs
