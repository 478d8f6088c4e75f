#pragma once
// The search dialog shared by the hot list, the reports and the help windows.
#include <QDialog>

#include "help/TextLists.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qnr::help {

class TGetSrchStrDlg : public QDialog {
    Q_OBJECT

public:
    explicit TGetSrchStrDlg(QWidget* parent = nullptr);

    // Shows the dialog modally under `caption` ("Find Text String", "Find
    // Help Topic", "Find Help Item") with the last search, and returns where
    // to start; the model keeps what was typed.
    SearchStart Run(SearchDialogModel& search, const QString& caption);

    QLineEdit* SrchStr1 = nullptr;
    QCheckBox* CaseCheck = nullptr;
    QPushButton* SrchTopBtn = nullptr;
    QPushButton* SrchNextBtn = nullptr;
    QPushButton* SrchCancelBtn = nullptr;

private:
    SearchStart pressed_ = SearchStart::Cancelled;
};

}  // namespace qnr::help
