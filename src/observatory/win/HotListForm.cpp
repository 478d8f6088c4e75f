#include "observatory/win/HotListForm.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "help/win/GetSrchStrDlg.h"
#include "help/win/ListWindow.h"
#include "observatory/win/HOVerifyDlg.h"
#include "ui/Latin1.h"

namespace qnr::observatory {

namespace {

QAction* Item(QMenu* menu, const char* name, const char* text) { return help::MenuItem(menu, name, text); }

}  // namespace

THotListForm1::THotListForm1(platform::Services& services, HotList& list, help::TGetSrchStrDlg* search,
                             QWidget* parent)
    : QDialog(parent),
      services_(services),
      list_(list),
      search_(search ? search : new help::TGetSrchStrDlg(this)),
      verify_(new THOVerifyDlg(*services.dialogs, this)) {
    setObjectName(QStringLiteral("HotListForm1"));
    setWindowTitle(QString::fromLatin1(HotListCaption));
    setModal(true);

    auto* bar = new QMenuBar(this);
    BuildMenus(bar);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(help::ListFont(10));
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addWidget(ListBox1);

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (filling_) return;
        list_.Select(row);
        UpdateItems();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &THotListForm1::SlewtoSelection1Click);
}

void THotListForm1::BuildMenus(QMenuBar* bar) {
    List1 = bar->addMenu(QStringLiteral("&List"));
    List1->setObjectName(QStringLiteral("List1"));
    SlewtoSelection1 = Item(List1, "SlewtoSelection1", "S&lew to Selection");
    Search1 = Item(List1, "Search1", "&Search...");
    Print1 = Item(List1, "Print1", "&Print...");
    Print1->setCheckable(true);
    SaveList1 = Item(List1, "SaveList1", "Sa&ve List...");
    List1->addSeparator();
    AddEntry1 = Item(List1, "AddEntry1", "&Add Entry...");
    AddCurrentItemtoList1 = Item(List1, "AddCurrentItemtoList1", "Add &Current Item/Position...");
    LoadHotList1 = Item(List1, "LoadHotList1", "L&oad Hot List...");
    StartNewList1 = Item(List1, "StartNewList1", "Start &New List...");
    List1->addSeparator();
    Close1 = Item(List1, "Close1", "&Close");

    Edit1 = bar->addMenu(QStringLiteral("&Selection"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    EditSelectedLine1 = Item(Edit1, "EditSelectedLine1", "&Edit Selection...");
    DeleteSelectedLine1 = Item(Edit1, "DeleteSelectedLine1", "&Delete Selection");
    UndoEditDelete1 = Item(Edit1, "UndoEditDelete1", "&Undo Edit/Delete");

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SlewtoSelection2 = Item(PopupMenu1, "SlewtoSelection2", "S&lew to Selection");
    Edit2 = Item(PopupMenu1, "Edit2", "&Edit...");
    Delete1 = Item(PopupMenu1, "Delete1", "&Delete");
    UndoEditDelete2 = Item(PopupMenu1, "UndoEditDelete2", "&Undo Edit/Delete");

    connect(SlewtoSelection1, &QAction::triggered, this, &THotListForm1::SlewtoSelection1Click);
    connect(SlewtoSelection2, &QAction::triggered, this, &THotListForm1::SlewtoSelection1Click);
    connect(Search1, &QAction::triggered, this, &THotListForm1::Search1Click);
    connect(Print1, &QAction::triggered, this, &THotListForm1::Print1Click);
    connect(SaveList1, &QAction::triggered, this, &THotListForm1::SaveList1Click);
    connect(AddEntry1, &QAction::triggered, this, &THotListForm1::AddEntry1Click);
    connect(AddCurrentItemtoList1, &QAction::triggered, this, [this] { AddCurrentItemtoList(); });
    connect(LoadHotList1, &QAction::triggered, this, [this] { LoadHotList(); });
    connect(StartNewList1, &QAction::triggered, this, &THotListForm1::StartNewList1Click);
    connect(Close1, &QAction::triggered, this, &QDialog::reject);
    connect(EditSelectedLine1, &QAction::triggered, this, &THotListForm1::EditSelectedLine1Click);
    connect(Edit2, &QAction::triggered, this, &THotListForm1::EditSelectedLine1Click);
    connect(DeleteSelectedLine1, &QAction::triggered, this, &THotListForm1::DeleteSelectedLine1Click);
    connect(Delete1, &QAction::triggered, this, &THotListForm1::DeleteSelectedLine1Click);
    connect(UndoEditDelete1, &QAction::triggered, this, &THotListForm1::UndoEditDelete1Click);
    connect(UndoEditDelete2, &QAction::triggered, this, &THotListForm1::UndoEditDelete1Click);
}

void THotListForm1::Refresh() {
    filling_ = true;
    help::FillList(ListBox1, list_.Lines());
    if (!help::ShowListLine(ListBox1, list_.selected())) ListBox1->setCurrentRow(-1);
    filling_ = false;
    UpdateItems();
}

void THotListForm1::UpdateItems() {
    const bool edit = list_.editMode();
    const bool selection = list_.selected() >= 0;
    SlewtoSelection1->setEnabled(selection);
    SlewtoSelection2->setEnabled(selection);
    Print1->setChecked(list_.printed());
    Edit1->menuAction()->setEnabled(edit);
    EditSelectedLine1->setEnabled(edit);
    DeleteSelectedLine1->setEnabled(edit);
    Edit2->setEnabled(edit);
    Delete1->setEnabled(edit);
    SaveList1->setEnabled(list_.saveEnabled());
    UndoEditDelete1->setEnabled(edit && list_.undoEnabled());
    UndoEditDelete2->setEnabled(edit && list_.undoEnabled());
    for (QAction* a : {AddEntry1, AddCurrentItemtoList1, LoadHotList1, StartNewList1}) a->setVisible(edit);
}

void THotListForm1::ShowModal() {
    list_.Activate();
    Refresh();
    help::SizeToLines(this, ListBox1, 30);
    exec();
}

void THotListForm1::SelectFromList() {
    list_.SelectFromList([this] { ShowModal(); });
}

void THotListForm1::SelectFromList(const std::function<bool(const ObjctDat&)>& slewTo) {
    list_.SelectFromList([this] { ShowModal(); }, slewTo);
}

bool THotListForm1::AddItemtoList(const ObjctDat& position) {
    const bool added = list_.AddPosition(position, [this](HOVerifyModel& m) { return RunEntryDialog(m); });
    if (added) Refresh();
    return added;
}

bool THotListForm1::AddCurrentItemtoList() {
    const bool added = list_.AddCurrentPosition([this](HOVerifyModel& m) { return RunEntryDialog(m); });
    if (added) Refresh();
    return added;
}

bool THotListForm1::LoadHotList() {
    const bool loaded = list_.LoadFromDialog();
    if (loaded) Refresh();
    return loaded;
}

bool THotListForm1::SaveUpdatedList() {
    const bool saved = list_.Save();
    UpdateItems();
    return saved;
}

bool THotListForm1::RunEntryDialog(HOVerifyModel& model) { return verify_->Run(model); }

bool THotListForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QPoint at = mouse->position().toPoint();
            const int row = ListBox1->row(ListBox1->itemAt(at));
            if (row >= 0) {
                ListBox1->setCurrentRow(row);
                // The menu opens 20 pixels right of and 50 below the click,
                // counted from the window's corner.
                PopupMenu1->popup(pos() + ListBox1->viewport()->mapTo(this, at) + QPoint(20, 50));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void THotListForm1::SlewtoSelection1Click() {
    list_.Select(ListBox1->currentRow());
    if (list_.SlewToSelection()) accept();
}

void THotListForm1::Search1Click() {
    const help::SearchStart start = search_->Run(list_.search, QStringLiteral("Find Text String"));
    if (list_.Search(start)) Refresh();
    ListBox1->setFocus();
}

void THotListForm1::Print1Click() {
    {
        help::BusyWindow busy(this);
        list_.Print();
    }
    UpdateItems();
}

void THotListForm1::SaveList1Click() { SaveUpdatedList(); }

void THotListForm1::AddEntry1Click() {
    HOVerifyModel model;
    model.Load(ObjctDat{});
    if (!RunEntryDialog(model)) return;
    list_.Add(model.entry);
    Refresh();
}

void THotListForm1::StartNewList1Click() {
    if (list_.StartNewListFromDialog()) Refresh();
}

void THotListForm1::EditSelectedLine1Click() {
    list_.Select(ListBox1->currentRow());
    if (list_.EditSelection([this](HOVerifyModel& m) { return RunEntryDialog(m); })) Refresh();
}

void THotListForm1::DeleteSelectedLine1Click() {
    list_.Select(ListBox1->currentRow());
    if (list_.DeleteSelection()) Refresh();
}

void THotListForm1::UndoEditDelete1Click() {
    if (list_.Undo()) Refresh();
}

}  // namespace qnr::observatory
