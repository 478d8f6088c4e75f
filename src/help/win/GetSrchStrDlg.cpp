#include "help/win/GetSrchStrDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Latin1.h"

namespace qnr::help {

TGetSrchStrDlg::TGetSrchStrDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GetSrchStrDlg"));
    setWindowTitle(QStringLiteral("Find Text String"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Search for:"), this);
    SrchStr1 = new QLineEdit(this);
    SrchStr1->setObjectName(QStringLiteral("SrchStr1"));
    SrchStr1->setMaxLength(static_cast<int>(SearchDialogModel::MaxText));
    SrchStr1->setMinimumWidth(280);
    label->setBuddy(SrchStr1);
    CaseCheck = new QCheckBox(QStringLiteral("Case Dependent"), this);
    CaseCheck->setObjectName(QStringLiteral("CaseCheck"));

    SrchTopBtn = new QPushButton(QStringLiteral("From &Top"), this);
    SrchTopBtn->setObjectName(QStringLiteral("SrchTopBtn"));
    SrchTopBtn->setDefault(true);
    SrchNextBtn = new QPushButton(QStringLiteral("&From Cursor"), this);
    SrchNextBtn->setObjectName(QStringLiteral("SrchNextBtn"));
    SrchCancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    SrchCancelBtn->setObjectName(QStringLiteral("SrchCancelBtn"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SrchTopBtn);
    buttons->addWidget(SrchNextBtn);
    buttons->addWidget(SrchCancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(SrchStr1);
    layout->addWidget(CaseCheck);
    layout->addLayout(buttons);

    auto press = [this](SearchStart start) {
        pressed_ = start;
        accept();
    };
    connect(SrchTopBtn, &QPushButton::clicked, this, [press] { press(SearchStart::FromTop); });
    connect(SrchNextBtn, &QPushButton::clicked, this, [press] { press(SearchStart::FromCursor); });
    connect(SrchCancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

SearchStart TGetSrchStrDlg::Run(SearchDialogModel& search, const QString& caption) {
    setWindowTitle(caption);
    SrchStr1->setText(ui::ToQString(search.text));
    SrchStr1->selectAll();
    CaseCheck->setChecked(search.caseDependent);
    SrchStr1->setFocus();
    pressed_ = SearchStart::Cancelled;
    if (exec() != QDialog::Accepted) return SearchStart::Cancelled;
    return search.Press(pressed_, ui::ToLatin1(SrchStr1->text()), CaseCheck->isChecked());
}

}  // namespace qnr::help
