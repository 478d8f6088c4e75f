#pragma once
// The information list window: lines in a small fixed-pitch font under a
// caption, with search, print and text save. Reports hide what they do not offer.
#include <QMainWindow>

#include "photometry/InfoList.h"

class QAction;
class QListWidget;
class QMenu;

namespace qnr::help { class TGetSrchStrDlg; }

namespace qnr::photometry {

class TInfoListForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `list` outlives the window; `search` is the shared search dialog (one
    // of its own when null).
    TInfoListForm1(InfoListReport& list, help::TGetSrchStrDlg* search = nullptr, QWidget* parent = nullptr);

    // Shows the list's present lines, sized to them.
    void ShowList();

    InfoListReport& list() { return list_; }

    QListWidget* ListBox1 = nullptr;
    QMenu* List1 = nullptr;
    QAction* Search1 = nullptr;
    QAction* Print1 = nullptr;
    QMenu* SaveasText1 = nullptr;
    QAction* AsDisplayed1 = nullptr;
    QAction* CommaDelimit = nullptr;
    QAction* N1 = nullptr;  // the separators of the List menu
    QAction* N2 = nullptr;
    QAction* Close1 = nullptr;
    QMenu* Edit1 = nullptr;

protected:
    // Comma-separated output, for the lists that have it.
    virtual void CommaDelimitClick() {}

private:
    void UpdateItems();
    void Search1Click();
    void Print1Click();
    void AsDisplayed1Click();

    InfoListReport& list_;
    help::TGetSrchStrDlg* search_;
};

}  // namespace qnr::photometry
