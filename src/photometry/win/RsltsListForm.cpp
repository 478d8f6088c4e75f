#include "photometry/win/RsltsListForm.h"

#include <QAction>
#include <QHideEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

#include "help/win/ListWindow.h"
#include "photometry/win/ObsRsltsDlg.h"

namespace qnr::photometry {

namespace {

QAction* Item(QMenu* menu, const char* name, const char* text) { return help::MenuItem(menu, name, text); }

}  // namespace

RsltsListForm1::RsltsListForm1(ResultsList& list, platform::Dialogs& dialogs, help::TGetSrchStrDlg* search,
                               QWidget* parent)
    : TInfoListForm1(list, search, parent), results_(list), dialogs_(dialogs), dialog_(new TObsRsltsDlg1(this)) {
    setObjectName(QStringLiteral("RsltsListForm1"));

    EditSelectedLine1 = Item(Edit1, "EditSelectedLine1", "&Edit Selected Line...");
    EditSelectedLine1->setStatusTip(QStringLiteral("Edit ID, Spectral Type, Remarks"));
    EditSelectedLine1->setToolTip(EditSelectedLine1->statusTip());
    DeleteSelectedLine1 = Item(Edit1, "DeleteSelectedLine1", "&Delete Selected Line");
    UndoEditDelete1 = Item(Edit1, "UndoEditDelete1", "&Undo Edit/Delete");
    Edit1->menuAction()->setVisible(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Edit2 = Item(PopupMenu1, "Edit2", "&Edit");
    Delete1 = Item(PopupMenu1, "Delete1", "&Delete");

    ListBox1->viewport()->installEventFilter(this);

    connect(EditSelectedLine1, &QAction::triggered, this, &RsltsListForm1::EditSelectedLine1Click);
    connect(Edit2, &QAction::triggered, this, &RsltsListForm1::EditSelectedLine1Click);
    connect(DeleteSelectedLine1, &QAction::triggered, this, &RsltsListForm1::DeleteSelectedLine1Click);
    connect(Delete1, &QAction::triggered, this, &RsltsListForm1::DeleteSelectedLine1Click);
    connect(UndoEditDelete1, &QAction::triggered, this, &RsltsListForm1::UndoEditDelete1Click);
    // After the information list's own handlers, which know only its text save.
    connect(Print1, &QAction::triggered, this, &RsltsListForm1::UpdateItems);
    connect(AsDisplayed1, &QAction::triggered, this, &RsltsListForm1::UpdateItems);

    results_.onLinesChanged = [this] { Refill(); };
    UpdateItems();
}

RsltsListForm1::~RsltsListForm1() { results_.onLinesChanged = nullptr; }

void RsltsListForm1::ShowAll() {
    results_.ShowAll();
    Present();
}

void RsltsListForm1::Present() {
    ShowList();
    CommaDelimit->setEnabled(true);
    UpdateItems();
    if (onShown) onShown();
}

bool RsltsListForm1::LoadSavedData() {
    if (!results_.LoadFromDialog()) {
        dialogs_.show(DataNotLoadedText, DataNotLoadedCaption, platform::Icon::Information);
        return false;
    }
    Present();
    return true;
}

bool RsltsListForm1::Review(ObsResult& entry) {
    return results_.Review(entry, [this](ObsRsltsModel& m) { return RunDialog(m); });
}

bool RsltsListForm1::RunDialog(ObsRsltsModel& model) { return dialog_->Run(model); }

void RsltsListForm1::Refill() {
    const int row = ListBox1->currentRow();
    help::FillList(ListBox1, results_.lines());
    if (row >= 0 && row < ListBox1->count()) ListBox1->setCurrentRow(row);
    UpdateItems();
}

void RsltsListForm1::UpdateItems() {
    Print1->setChecked(results_.printed());
    SaveasText1->menuAction()->setChecked(results_.saved() || results_.commaSaved());
    UndoEditDelete1->setEnabled(results_.undoEnabled());
}

void RsltsListForm1::EditSelectedLine1Click() {
    results_.EditLine(ListBox1->currentRow(), [this](ObsRsltsModel& m) { return RunDialog(m); });
    UpdateItems();
}

void RsltsListForm1::DeleteSelectedLine1Click() {
    results_.DeleteLine(ListBox1->currentRow());
    UpdateItems();
}

void RsltsListForm1::UndoEditDelete1Click() {
    results_.Undo();
    UpdateItems();
}

void RsltsListForm1::CommaDelimitClick() {
    results_.SaveCommaDelimited();
    UpdateItems();
}

bool RsltsListForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1->viewport() &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonRelease) {
            lastRelease_ = mouse->position().toPoint();
        } else if (mouse->button() == Qt::LeftButton) {
            const int row = ListBox1->row(ListBox1->itemAt(mouse->position().toPoint()));
            // Entry lines only; the menu opens by the window's corner plus the last release.
            if (row >= 1) {
                ListBox1->setCurrentRow(row);
                PopupMenu1->popup(pos() + lastRelease_ + QPoint(20, 50));
                return true;
            }
        }
    }
    return TInfoListForm1::eventFilter(watched, event);
}

void RsltsListForm1::hideEvent(QHideEvent* event) {
    TInfoListForm1::hideEvent(event);
    // Minimising is the window system's hide; Close and the close box are ours.
    if (!event->spontaneous() && onClosed) onClosed();
}

}  // namespace qnr::photometry
