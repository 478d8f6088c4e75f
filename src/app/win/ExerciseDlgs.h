#pragma once
// The main window's modal dialogs: login, password, date/time/ID, data media,
// the about box and the options stand-in. Each binds its widgets to a core
// dialog model and closes only when the model says so.
#include <QDialog>

#include "app/Exercise.h"
#include "platform/Services.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qnr::app {

// "Student Accounting": only OK closes it.
class TLoginDlg final : public QDialog {
    Q_OBJECT
public:
    TLoginDlg(QWidget* parent, LoginDialogModel& model, LoginRecord& record, platform::Dialogs& dialogs);
    void reject() override {}

private:
    void OKBtnClick();
    LoginDialogModel& model_;
    LoginRecord& record_;
    platform::Dialogs& dialogs_;
    QLineEdit* Stud[4] = {};
    QLineEdit* LabTbl = nullptr;
};

// "Password Required".
class TPasswordDlg final : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(QWidget* parent, PasswordDialogModel& model, platform::Dialogs& dialogs);
    DialogResult result() const { return result_; }
    void reject() override;

private:
    void OKBtnClick();
    PasswordDialogModel& model_;
    platform::Dialogs& dialogs_;
    QLineEdit* Password = nullptr;
    DialogResult result_ = DialogResult::Cancel;
};

// "Set Date/Time, ID": Escape and the close box count as Cancel only while
// Cancel is enabled.
class TUTTimeDlg final : public QDialog {
    Q_OBJECT
public:
    TUTTimeDlg(QWidget* parent, DateTimeDialogModel& model, platform::Dialogs& dialogs);
    void reject() override;

private:
    void OKBtnClick();
    DateTimeDialogModel& model_;
    platform::Dialogs& dialogs_;
    QLineEdit* DateEd = nullptr;
    QLineEdit* TimeEd = nullptr;
    QLineEdit* IDEd = nullptr;
};

// "Mount Data Media": a double click on the path field browses for a folder.
class TMountCDROM final : public QDialog {
    Q_OBJECT
public:
    TMountCDROM(QWidget* parent, MountDialogModel& model, platform::Services& services,
                const std::string& programFolder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OKBtnClick();
    void Browse();
    MountDialogModel& model_;
    platform::Services& services_;
    std::string programFolder_;
    QLineEdit* PathEd = nullptr;
};

// "About This Exercise".
class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    TAboutBox(QWidget* parent, const QString& versionText, const QPixmap& icon);
};

// Where the options dialog goes: until it exists, a dialog that accepts the
// options as they are.
class TOptionsStandIn final : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsStandIn(QWidget* parent);
};

}  // namespace qnr::app
