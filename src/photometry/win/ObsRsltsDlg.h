#pragma once
// "Observational Data": one results entry, its readings shown, its ID,
// spectral type, Z and remarks editable.
#include <QDialog>

#include "photometry/RsltsList.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qnr::photometry {

class TObsRsltsDlg1 : public QDialog {
    Q_OBJECT

public:
    explicit TObsRsltsDlg1(QWidget* parent = nullptr);

    // Modal on the model's texts; true for OK (the model then holds what was typed).
    bool Run(ObsRsltsModel& model);

    QLineEdit* IDEd = nullptr;
    QLineEdit* JDEd = nullptr;
    QLabel* ResultsLbl = nullptr;
    QLabel* UMagLbl = nullptr;
    QLabel* BMagLbl = nullptr;
    QLabel* VMagLbl = nullptr;
    QLabel* RMagLbl = nullptr;
    QLabel* IMagLbl = nullptr;
    QLineEdit* UMagEd = nullptr;
    QLineEdit* BMagEd = nullptr;
    QLineEdit* VMagEd = nullptr;
    QLineEdit* RMagEd = nullptr;
    QLineEdit* IMagEd = nullptr;
    QLineEdit* SpEd = nullptr;
    QLineEdit* ZEd = nullptr;
    QLineEdit* RmrksEd = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

}  // namespace qnr::photometry
