#include "photometry/win/ObsRsltsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Latin1.h"

namespace qnr::photometry {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, int maxLength, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) edit->setMaxLength(maxLength);
    edit->setReadOnly(readOnly);
    return edit;
}

QLabel* Label(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TObsRsltsDlg1::TObsRsltsDlg1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ObsRsltsDlg1"));
    setWindowTitle(QStringLiteral("Observational Data"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    IDEd = Field(this, "IDEd", static_cast<int>(ObjectIdChars), false);
    JDEd = Field(this, "JDEd", 0, true);
    ResultsLbl = Label(this, "ResultsLbl", "Observed Magnitudes");
    UMagLbl = Label(this, "UMagLbl", "U:");
    BMagLbl = Label(this, "BMagLbl", "B:");
    VMagLbl = Label(this, "VMagLbl", "V:");
    RMagLbl = Label(this, "RMagLbl", "R:");
    IMagLbl = Label(this, "IMagLbl", "I:");
    UMagEd = Field(this, "UMagEd", 0, true);
    BMagEd = Field(this, "BMagEd", 0, true);
    VMagEd = Field(this, "VMagEd", 0, true);
    RMagEd = Field(this, "RMagEd", 0, true);
    IMagEd = Field(this, "IMagEd", 0, true);
    SpEd = Field(this, "SpEd", 12, false);
    ZEd = Field(this, "ZEd", 0, false);
    // Loaded remarks may hold all their characters, so the field does too.
    RmrksEd = Field(this, "RmrksEd", static_cast<int>(ObsRsltsModel::RemarksEditChars), false);
    RmrksEd->setMinimumWidth(280);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Object ID:"), this), 0, 0);
    grid->addWidget(IDEd, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Julian Date:"), this), 1, 0);
    grid->addWidget(JDEd, 1, 1, 1, 3);
    grid->addWidget(ResultsLbl, 2, 0, 1, 4);
    QLabel* labels[] = {UMagLbl, BMagLbl, VMagLbl, RMagLbl, IMagLbl};
    QLineEdit* edits[] = {UMagEd, BMagEd, VMagEd, RMagEd, IMagEd};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(labels[i], 3 + i, 0);
        grid->addWidget(edits[i], 3 + i, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Spectral Type:"), this), 8, 0);
    grid->addWidget(SpEd, 8, 1);
    grid->addWidget(new QLabel(QStringLiteral("Z:"), this), 9, 0);
    grid->addWidget(ZEd, 9, 1);
    grid->addWidget(new QLabel(QStringLiteral("Remarks:"), this), 10, 0);
    grid->addWidget(RmrksEd, 10, 1, 1, 3);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("&Cancel"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(BitBtn1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

bool TObsRsltsDlg1::Run(ObsRsltsModel& model) {
    IDEd->setText(ui::ToQString(model.id));
    JDEd->setText(ui::ToQString(model.jd));
    ResultsLbl->setText(ui::ToQString(model.resultsLabel));
    QLineEdit* edits[] = {UMagEd, BMagEd, VMagEd, RMagEd, IMagEd};
    for (std::size_t i = 0; i < 5; ++i) edits[i]->setText(ui::ToQString(model.values[i]));
    for (QWidget* w : {static_cast<QWidget*>(RMagLbl), static_cast<QWidget*>(RMagEd), static_cast<QWidget*>(IMagLbl),
                       static_cast<QWidget*>(IMagEd)})
        w->setEnabled(model.riEnabled);
    SpEd->setText(ui::ToQString(model.spType));
    ZEd->setText(ui::ToQString(model.z));
    RmrksEd->setText(ui::ToQString(model.remarks));
    IDEd->setFocus();
    if (exec() != QDialog::Accepted) return false;
    model.id = ui::ToLatin1(IDEd->text());
    model.spType = ui::ToLatin1(SpEd->text());
    model.z = ui::ToLatin1(ZEd->text());
    model.remarks = ui::ToLatin1(RmrksEd->text());
    return true;
}

}  // namespace qnr::photometry
