#pragma once
// "Quenara Observation Hot List": the list window the telescope picks its
// targets from; in Edit Mode the instructor's editor of the list.
#include <QDialog>
#include <functional>

#include "observatory/HotList.h"

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;

namespace qnr::help { class TGetSrchStrDlg; }

namespace qnr::observatory {

class THOVerifyDlg;

class THotListForm1 : public QDialog {
    Q_OBJECT

public:
    // `list` (the program's hot list) and `services` outlive the window;
    // `search` is the shared search dialog (one of its own when null).
    THotListForm1(platform::Services& services, HotList& list, help::TGetSrchStrDlg* search = nullptr,
                  QWidget* parent = nullptr);

    // Shows the list modally; afterwards list().targetChosen() tells whether
    // a target was picked.
    void ShowModal();

    // The telescope window's hot-list commands.
    // View/Select from List: pick, confirm through the host, repeat on Cancel.
    void SelectFromList();
    bool AddCurrentItemtoList();
    // The same commands for the radio telescope, which slews and points itself.
    void SelectFromList(const std::function<bool(const ObjctDat&)>& slewTo);
    bool AddItemtoList(const ObjctDat& position);
    bool LoadHotList();
    bool SaveUpdatedList();

    HotList& list() { return list_; }
    THOVerifyDlg* entryDialog() { return verify_; }

    QListWidget* ListBox1 = nullptr;
    QMenu* List1 = nullptr;
    QAction* SlewtoSelection1 = nullptr;
    QAction* Search1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* SaveList1 = nullptr;
    QAction* AddEntry1 = nullptr;
    QAction* AddCurrentItemtoList1 = nullptr;
    QAction* LoadHotList1 = nullptr;
    QAction* StartNewList1 = nullptr;
    QAction* Close1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* EditSelectedLine1 = nullptr;
    QAction* DeleteSelectedLine1 = nullptr;
    QAction* UndoEditDelete1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* SlewtoSelection2 = nullptr;
    QAction* Edit2 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* UndoEditDelete2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus(QMenuBar* bar);
    // Lines, selection and the enabled state of every item from the list.
    void Refresh();
    void UpdateItems();
    void SlewtoSelection1Click();
    void Search1Click();
    void Print1Click();
    void SaveList1Click();
    void AddEntry1Click();
    void StartNewList1Click();
    void EditSelectedLine1Click();
    void DeleteSelectedLine1Click();
    void UndoEditDelete1Click();
    bool RunEntryDialog(HOVerifyModel& model);

    platform::Services& services_;
    HotList& list_;
    help::TGetSrchStrDlg* search_;
    THOVerifyDlg* verify_;
    bool filling_ = false;
};

}  // namespace qnr::observatory
