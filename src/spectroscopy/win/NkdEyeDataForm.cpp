#include "spectroscopy/win/NkdEyeDataForm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Latin1.h"

namespace qnr {

TNkdEyeDataForm::TNkdEyeDataForm(QWidget* parent) : QDialog(parent) {
    setObjectName("NkdEyeDataForm");
    setWindowTitle("Naked Eye Star");
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(true);
        e->setMinimumWidth(160);
        return e;
    };
    RAEd = edit("RAEd");
    DecEd = edit("DecEd");
    MagEd = edit("MagEd");
    auto* form = new QFormLayout;
    form->addRow("Right Ascension (J2000.0):", RAEd);
    form->addRow("Declination (J2000.0):", DecEd);
    form->addRow("Visual Magnitude:", MagEd);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(ok, 0, Qt::AlignRight);
}

void TNkdEyeDataForm::ShowStar(const NakedEyeSelected& star) {
    const NakedEyeSky::Texts t = NakedEyeSky::DataTexts(star);
    RAEd->setText(ui::ToQString(t.ra));
    DecEd->setText(ui::ToQString(t.dec));
    MagEd->setText(ui::ToQString(t.mag));
    exec();
}

}  // namespace qnr
