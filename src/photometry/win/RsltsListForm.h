#pragma once
// The observational results list window: the information list window with
// line editing, deletion with undo, and the comma-separated save.
#include <functional>

#include "photometry/RsltsList.h"
#include "photometry/win/InfoListForm.h"

namespace qnr::photometry {

class TObsRsltsDlg1;

class RsltsListForm1 : public TInfoListForm1 {
    Q_OBJECT

public:
    // `list` and `dialogs` outlive the window; `search` is the shared search
    // dialog (one of its own when null).
    RsltsListForm1(ResultsList& list, platform::Dialogs& dialogs, help::TGetSrchStrDlg* search = nullptr,
                   QWidget* parent = nullptr);
    ~RsltsListForm1() override;

    // Display/Print/Save: every entry under the header, the window shown.
    void ShowAll();
    // Load Saved Data: the open dialog and the file; on success the list is
    // shown, otherwise "Data was not loaded." is said here. True when loaded.
    bool LoadSavedData();

    // "Observational Data" on an entry for the instruments and tools; true for OK.
    bool Review(ObsResult& entry);
    TObsRsltsDlg1* entryDialog() { return dialog_; }

    ResultsList& results() { return results_; }

    // The main window's "Sp&ectra/Photometry Results" entry follows these;
    // on close "Display/Print/Save..." becomes available again.
    std::function<void()> onShown;
    std::function<void()> onClosed;

    QAction* EditSelectedLine1 = nullptr;
    QAction* DeleteSelectedLine1 = nullptr;
    QAction* UndoEditDelete1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Edit2 = nullptr;
    QAction* Delete1 = nullptr;

protected:
    void CommaDelimitClick() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Present();
    void Refill();
    void UpdateItems();
    void EditSelectedLine1Click();
    void DeleteSelectedLine1Click();
    void UndoEditDelete1Click();
    bool RunDialog(ObsRsltsModel& model);

    ResultsList& results_;
    platform::Dialogs& dialogs_;
    TObsRsltsDlg1* dialog_;
    QPoint lastRelease_;
};

}  // namespace qnr::photometry
