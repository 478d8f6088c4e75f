#include "photometry/win/InfoListForm.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

#include "help/win/GetSrchStrDlg.h"
#include "help/win/ListWindow.h"
#include "ui/Latin1.h"

namespace qnr::photometry {

namespace {

QAction* Item(QMenu* menu, const char* name, const char* text) { return help::MenuItem(menu, name, text); }

}  // namespace

TInfoListForm1::TInfoListForm1(InfoListReport& list, help::TGetSrchStrDlg* search, QWidget* parent)
    : QMainWindow(parent), list_(list), search_(search ? search : new help::TGetSrchStrDlg(this)) {
    setObjectName(QStringLiteral("InfoListForm1"));

    List1 = menuBar()->addMenu(QStringLiteral("&List"));
    List1->setObjectName(QStringLiteral("List1"));
    Search1 = Item(List1, "Search1", "&Search...");
    N1 = List1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Print1 = Item(List1, "Print1", "&Print...");
    Print1->setCheckable(true);
    SaveasText1 = List1->addMenu(QStringLiteral("Save &Text"));
    SaveasText1->setObjectName(QStringLiteral("SaveasText1"));
    SaveasText1->menuAction()->setCheckable(true);
    AsDisplayed1 = Item(SaveasText1, "AsDisplayed1", "As &Displayed...");
    CommaDelimit = Item(SaveasText1, "CommaDelimit", "&Comma Delimit (for Spreadsheet)...");
    N2 = List1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    Close1 = Item(List1, "Close1", "&Close");
    Edit1 = menuBar()->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->menuAction()->setVisible(false);  // the results list shows its editing here

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(help::ListFont(8));
    setCentralWidget(ListBox1);

    connect(Search1, &QAction::triggered, this, &TInfoListForm1::Search1Click);
    connect(Print1, &QAction::triggered, this, &TInfoListForm1::Print1Click);
    connect(AsDisplayed1, &QAction::triggered, this, &TInfoListForm1::AsDisplayed1Click);
    connect(CommaDelimit, &QAction::triggered, this, [this] { CommaDelimitClick(); });
    connect(Close1, &QAction::triggered, this, &QWidget::hide);
}

void TInfoListForm1::ShowList() {
    setWindowTitle(ui::ToQString(list_.caption()));
    help::FillList(ListBox1, list_.lines());
    list_.Activate();
    CommaDelimit->setEnabled(false);
    UpdateItems();
    const bool opening = !isVisible();
    show();
    help::SizeToLines(this, ListBox1, 30);
    if (opening) help::PlaceBeside(this, help::OpenerOf(this));
    raise();
    activateWindow();
}

void TInfoListForm1::UpdateItems() {
    Print1->setChecked(list_.printed());
    SaveasText1->menuAction()->setChecked(list_.saved());
}

void TInfoListForm1::Search1Click() {
    const help::SearchStart start = search_->Run(list_.search, QStringLiteral("Find Text String"));
    help::ShowListLine(ListBox1, list_.Search(start, ListBox1->currentRow()));
    ListBox1->setFocus();
}

void TInfoListForm1::Print1Click() {
    {
        help::BusyWindow busy(this);
        list_.Print();
    }
    UpdateItems();
}

void TInfoListForm1::AsDisplayed1Click() {
    list_.SaveAsDisplayed();
    UpdateItems();
}

}  // namespace qnr::photometry
