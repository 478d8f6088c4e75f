#pragma once
// "Naked Eye Star": the catalog data of a star clicked in the dome slit.
#include <QDialog>

#include "spectroscopy/Nkd_Eye.h"

class QLineEdit;

namespace qnr {

class TNkdEyeDataForm : public QDialog {
    Q_OBJECT
public:
    explicit TNkdEyeDataForm(QWidget* parent = nullptr);
    // Shows the star's data modally.
    void ShowStar(const NakedEyeSelected& star);

    QLineEdit* RAEd = nullptr;
    QLineEdit* DecEd = nullptr;
    QLineEdit* MagEd = nullptr;
};

}  // namespace qnr
