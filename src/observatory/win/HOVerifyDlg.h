#pragma once
// "Add/Edit Hot List Entry": an identifier, a J2000.0 position and a comment.
#include <QDialog>

#include "observatory/HotList.h"

class QLineEdit;
class QPushButton;

namespace qnr::observatory {

class THOVerifyDlg : public QDialog {
    Q_OBJECT

public:
    explicit THOVerifyDlg(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // Modal on the model's fields; true when OK accepted valid coordinates
    // (model.entry then holds them).
    bool Run(HOVerifyModel& model);

    QLineEdit* IDEd = nullptr;
    QLineEdit* RAHrsEd = nullptr;
    QLineEdit* RAMinEd = nullptr;
    QLineEdit* RASecEd = nullptr;
    QLineEdit* DecDegEd = nullptr;
    QLineEdit* DecMinEd = nullptr;
    QLineEdit* DecSecEd = nullptr;
    QLineEdit* CmntEd1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    void OKBtnClick();

    platform::Dialogs& dialogs_;
    HOVerifyModel* model_ = nullptr;
};

}  // namespace qnr::observatory
