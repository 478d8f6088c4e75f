#include "observatory/win/HOVerifyDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Latin1.h"

namespace qnr::observatory {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, int maxLength, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    if (width > 0) edit->setFixedWidth(width);
    return edit;
}

}  // namespace

THOVerifyDlg::THOVerifyDlg(platform::Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("HOVerifyDlg"));
    setWindowTitle(QStringLiteral("Add/Edit Hot List Entry"));
    setModal(true);

    IDEd = Field(this, "IDEd", static_cast<int>(MaxHotListId), 0);
    IDEd->setToolTip(QStringLiteral("(12 Chars. Max)"));
    IDEd->setPlaceholderText(QStringLiteral("(12 Chars. Max)"));
    RAHrsEd = Field(this, "RAHrsEd", 4, 48);
    RAMinEd = Field(this, "RAMinEd", 4, 48);
    RASecEd = Field(this, "RASecEd", 8, 64);
    DecDegEd = Field(this, "DecDegEd", 4, 48);
    DecMinEd = Field(this, "DecMinEd", 4, 48);
    DecSecEd = Field(this, "DecSecEd", 8, 64);
    CmntEd1 = Field(this, "CmntEd1", static_cast<int>(MaxHotListComment), 0);
    CmntEd1->setMinimumWidth(300);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Object ID:"), this), 0, 0);
    grid->addWidget(IDEd, 0, 1, 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("Right Ascension (J2000.0):"), this), 1, 0);
    grid->addWidget(RAHrsEd, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("h"), this), 1, 2);
    grid->addWidget(RAMinEd, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("m"), this), 1, 4);
    grid->addWidget(RASecEd, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("s"), this), 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("Declination (J2000.0):"), this), 2, 0);
    grid->addWidget(DecDegEd, 2, 1);
    grid->addWidget(new QLabel(QString::fromLatin1("\xB0"), this), 2, 2);
    grid->addWidget(DecMinEd, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("'"), this), 2, 4);
    grid->addWidget(DecSecEd, 2, 5);
    grid->addWidget(new QLabel(QStringLiteral("\""), this), 2, 6);
    grid->addWidget(new QLabel(QStringLiteral("Comment:"), this), 3, 0);
    grid->addWidget(CmntEd1, 3, 1, 1, 6);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &THOVerifyDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool THOVerifyDlg::Run(HOVerifyModel& model) {
    model_ = &model;
    IDEd->setText(ui::ToQString(model.id));
    RAHrsEd->setText(ui::ToQString(model.raHrs));
    RAMinEd->setText(ui::ToQString(model.raMin));
    RASecEd->setText(ui::ToQString(model.raSec));
    DecDegEd->setText(ui::ToQString(model.decDeg));
    DecMinEd->setText(ui::ToQString(model.decMin));
    DecSecEd->setText(ui::ToQString(model.decSec));
    CmntEd1->setText(ui::ToQString(model.comment));
    IDEd->setFocus();
    const bool ok = exec() == QDialog::Accepted;
    model_ = nullptr;
    return ok;
}

void THOVerifyDlg::OKBtnClick() {
    if (!model_) return reject();
    model_->id = ui::ToLatin1(IDEd->text());
    model_->raHrs = ui::ToLatin1(RAHrsEd->text());
    model_->raMin = ui::ToLatin1(RAMinEd->text());
    model_->raSec = ui::ToLatin1(RASecEd->text());
    model_->decDeg = ui::ToLatin1(DecDegEd->text());
    model_->decMin = ui::ToLatin1(DecMinEd->text());
    model_->decSec = ui::ToLatin1(DecSecEd->text());
    model_->comment = ui::ToLatin1(CmntEd1->text());
    // Invalid coordinates keep the dialog open after the message.
    if (model_->Ok(dialogs_)) accept();
}

}  // namespace qnr::observatory
