#include "app/win/ExerciseDlgs.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Latin1.h"

namespace qnr::app {

namespace {

using ui::ToLatin1;
using ui::ToQString;

QLineEdit* Edit(QWidget* parent, const char* name, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The buttons in a row at the bottom right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (auto* b : buttons) row->addWidget(b);
    return row;
}

}  // namespace

// ---------------------------------------------------------------------------

TLoginDlg::TLoginDlg(QWidget* parent, LoginDialogModel& model, LoginRecord& record, platform::Dialogs& dialogs)
    : QDialog(parent), model_(model), record_(record), dialogs_(dialogs) {
    setObjectName(QStringLiteral("LoginDlg"));
    setWindowTitle(QStringLiteral("Student Accounting"));
    // Closing the box is not a way out: the group has to log in (or say it did not).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* form = new QFormLayout;
    const char* names[4] = {"Stud1", "Stud2", "Stud3", "Stud4"};
    for (int i = 0; i < 4; ++i) {
        Stud[i] = Edit(this, names[i], 40);
        Stud[i]->setText(ToQString(model_.students[static_cast<std::size_t>(i)]));
        Stud[i]->setMinimumWidth(280);
        form->addRow(QStringLiteral("Student &%1:").arg(i + 1), Stud[i]);
    }
    LabTbl = Edit(this, "LabTbl", 4);
    LabTbl->setText(ToQString(model_.table));
    LabTbl->setMaximumWidth(60);
    form->addRow(QStringLiteral("Lab &Table Number:"), LabTbl);

    auto* ok = Button(this, "OKBtn", QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TLoginDlg::OKBtnClick);

    auto* top = new QVBoxLayout(this);
    top->addWidget(Label(this, "InfoLbl", QStringLiteral("Enter the names of the students at this table.")));
    top->addLayout(form);
    top->addLayout(ButtonRow({ok}));
    Stud[0]->setFocus();
}

void TLoginDlg::OKBtnClick() {
    for (std::size_t i = 0; i < 4; ++i) model_.students[i] = ToLatin1(Stud[i]->text());
    model_.table = ToLatin1(LabTbl->text());
    if (model_.Ok(record_, dialogs_)) accept();
}

// ---------------------------------------------------------------------------

TPasswordDlg::TPasswordDlg(QWidget* parent, PasswordDialogModel& model, platform::Dialogs& dialogs)
    : QDialog(parent), model_(model), dialogs_(dialogs) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Password Required"));
    Password = Edit(this, "Password", 16);
    Password->setEchoMode(QLineEdit::Password);
    Password->setText(ToQString(model_.entry));
    auto* ok = Button(this, "OKBtn", QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = Button(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &TPasswordDlg::reject);

    auto* top = new QVBoxLayout(this);
    top->addWidget(Label(this, "Label1", QStringLiteral("Enter password:")));
    top->addWidget(Password);
    top->addLayout(ButtonRow({ok, cancel}));
    Password->setFocus();
}

void TPasswordDlg::OKBtnClick() {
    model_.entry = ToLatin1(Password->text());
    result_ = model_.Ok(dialogs_);
    done(result_ == DialogResult::OK ? QDialog::Accepted : QDialog::Rejected);
}

void TPasswordDlg::reject() {
    result_ = DialogResult::Cancel;
    QDialog::reject();
}

// ---------------------------------------------------------------------------

TUTTimeDlg::TUTTimeDlg(QWidget* parent, DateTimeDialogModel& model, platform::Dialogs& dialogs)
    : QDialog(parent), model_(model), dialogs_(dialogs) {
    setObjectName(QStringLiteral("UTTimeDlg"));
    setWindowTitle(QStringLiteral("Set Date/Time, ID"));
    if (!model_.cancelEnabled) setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    DateEd = Edit(this, "DateEd", 10);
    DateEd->setText(ToQString(model_.dateText));
    DateEd->setEnabled(model_.dateEnabled);
    TimeEd = Edit(this, "TimeEd", 11);
    TimeEd->setText(ToQString(model_.timeText));
    TimeEd->setEnabled(model_.timeEnabled);
    IDEd = Edit(this, "IDEd", static_cast<int>(DateTimeDialogModel::MaxIdLength));
    IDEd->setText(ToQString(model_.idText));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("UT &Date (YYYY/MM/DD):"), DateEd);
    form->addRow(QStringLiteral("UT &Time (hh:mm:ss):"), TimeEd);
    form->addRow(QStringLiteral("Object &ID:"), IDEd);

    auto* ok = Button(this, "OKBtn", QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = Button(this, "CancelBtn", QStringLiteral("Cancel"));
    cancel->setEnabled(model_.cancelEnabled);
    connect(ok, &QPushButton::clicked, this, &TUTTimeDlg::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &TUTTimeDlg::reject);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow({ok, cancel}));
    IDEd->setFocus();
}

void TUTTimeDlg::OKBtnClick() {
    model_.dateText = ToLatin1(DateEd->text());
    model_.timeText = ToLatin1(TimeEd->text());
    model_.idText = ToLatin1(IDEd->text());
    if (model_.Ok(dialogs_)) accept();
}

void TUTTimeDlg::reject() {
    if (model_.cancelEnabled) QDialog::reject();
}

// ---------------------------------------------------------------------------

TMountCDROM::TMountCDROM(QWidget* parent, MountDialogModel& model, platform::Services& services,
                         const std::string& programFolder)
    : QDialog(parent), model_(model), services_(services), programFolder_(programFolder) {
    setObjectName(QStringLiteral("MountCDROM"));
    setWindowTitle(QStringLiteral("Mount Data Media"));

    auto* text = Label(this, "TextLbl", ToQString(model_.Text()));
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Drive:"), this), 0, 0);
    grid->addWidget(Label(this, "DriveLbl", ToQString(model_.drive())), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Medium:"), this), 1, 0);
    grid->addWidget(Label(this, "MediumLbl", ToQString(model_.medium())), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data:"), this), 2, 0);
    grid->addWidget(Label(this, "DataLbl", ToQString(model_.data())), 2, 1);

    PathEd = Edit(this, "PathEd", 255);
    PathEd->setText(ToQString(model_.path));
    PathEd->installEventFilter(this);
    auto* ok = Button(this, "OKBtn", QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = Button(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &TMountCDROM::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &TMountCDROM::reject);

    auto* top = new QVBoxLayout(this);
    top->addWidget(text);
    top->addLayout(grid);
    top->addWidget(Label(this, "PathLbl", QStringLiteral("(Double-Click to Browse)")));
    top->addWidget(PathEd);
    top->addLayout(ButtonRow({ok, cancel}));
}

bool TMountCDROM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PathEd && event->type() == QEvent::MouseButtonDblClick) {
        Browse();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TMountCDROM::Browse() {
    if (!services_.chooser || !services_.files) return;
    model_.path = ToLatin1(PathEd->text());
    const std::string start = model_.BrowseStart(*services_.files, programFolder_);
    if (auto folder = services_.chooser->chooseFolder("Mount Data Media", start)) {
        model_.Browsed(*folder);
        PathEd->setText(ToQString(model_.path));
    }
}

void TMountCDROM::OKBtnClick() {
    model_.path = ToLatin1(PathEd->text());
    model_.Ok();
    accept();
}

// ---------------------------------------------------------------------------

TAboutBox::TAboutBox(QWidget* parent, const QString& versionText, const QPixmap& icon) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About This Exercise"));
    auto* picture = Label(this, "ProgramIcon", QString());
    if (!icon.isNull()) picture->setPixmap(icon);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* product = Label(this, "ProductName", QStringLiteral("Quenara Observatory"));
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    product->setFont(bold);
    auto* version = Label(this, "Version", versionText);
    auto* rights = Label(this, "Copyright", QStringLiteral("Free software under the GNU GPL, version 3 or later"));
    auto* comments = Label(this, "Comments", QStringLiteral("The Durev for Quenara"));
    auto* ok = Button(this, "OKButton", QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(rights);
    texts->addSpacing(8);
    texts->addWidget(comments);
    texts->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(picture, 0, Qt::AlignTop);
    body->addLayout(texts);
    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    top->addLayout(ButtonRow({ok}));
}

// ---------------------------------------------------------------------------

TOptionsStandIn::TOptionsStandIn(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OptionsDlg"));
    setWindowTitle(QStringLiteral("Optical Simulation Options"));
    auto* text = Label(this, "InfoLbl",
                       QStringLiteral("The options can be listed with \"qnrtool options show\".\n"
                                      "OK keeps the present options and offers to save them."));
    auto* ok = Button(this, "OKBtn", QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = Button(this, "CancelBtn", QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &TOptionsStandIn::accept);
    connect(cancel, &QPushButton::clicked, this, &TOptionsStandIn::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(text);
    top->addLayout(ButtonRow({ok, cancel}));
}

}  // namespace qnr::app
