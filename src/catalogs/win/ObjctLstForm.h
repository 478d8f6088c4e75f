#pragma once
// The object-list report window: report lines in a fixed-pitch font, with
// search, print, text save and hand-over of objects to the hot list. The
// asteroid, quasar and cluster reports show their lists in it.
#include <QMainWindow>

#include "catalogs/ObjctLst.h"

class QAction;
class QListWidget;
class QMenu;

namespace qnr::help { class TGetSrchStrDlg; }

namespace qnr::catalogs {

class TObjctListForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `report` outlives the window; `search` is the shared search dialog (one
    // of its own when null).
    TObjctListForm1(ObjectListReport& report, help::TGetSrchStrDlg* search = nullptr, QWidget* parent = nullptr);

    // Shows the report's present lines, sized to them.
    void ShowReport();

    ObjectListReport& report() { return report_; }

    QListWidget* ListBox1 = nullptr;
    QMenu* List1 = nullptr;
    QAction* Search1 = nullptr;
    QAction* Print1 = nullptr;
    QMenu* SaveasText1 = nullptr;
    QAction* AsDisplayed1 = nullptr;
    QAction* CommaDelimit = nullptr;
    QAction* Close1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* SelectionData1 = nullptr;
    QAction* AddtoCurrentHotList2 = nullptr;
    QAction* StartNewHotList2 = nullptr;
    QAction* EntireList2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* AddtoCurrentHotList1 = nullptr;
    QAction* StartNewHotList1 = nullptr;
    QAction* EntireList1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Handlers a list kind may extend.
    virtual void ListBox1DblClick();
    virtual void EntireList1Click();

private:
    void UpdateItems();
    void Search1Click();
    void Print1Click();
    void AsDisplayed1Click();

    ObjectListReport& report_;
    help::TGetSrchStrDlg* search_;
};

}  // namespace qnr::catalogs
