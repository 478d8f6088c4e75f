#pragma once
// The main window: the observatory's control room, a view of the exercise.
#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <map>
#include <string>

#include "app/Exercise.h"
#include "app/Options.h"
#include "platform/Services.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;

namespace qnr::app {

class TEnvironment1 : public QMainWindow, public ExerciseView {
    Q_OBJECT

public:
    // The client area (below the menu bar) is this size and cannot change.
    static constexpr int ClientWidth = 632;
    static constexpr int ClientHeight = 434;
    static constexpr int DisplayWidth = 476;
    static constexpr int DisplayHeight = 356;

    // `services` must outlive the window.
    explicit TEnvironment1(platform::Services& services, QWidget* parent = nullptr);
    ~TEnvironment1() override;

    Exercise& exercise() { return exercise_; }
    DisplayPhase displayPhase() const { return exercise_.displayPhase(); }
    // The working copy of the options every window reads.
    const OptsRec& opts() const { return exercise_.opts(); }
    OptsRec& opts() { return exercise_.opts(); }
    bool hasLogo() const { return !logoBitmap_.isNull(); }
    // The cross-hair cursors by number (5 and 6); the arrow when one is missing.
    QCursor cursor(int number) const;
    bool hasCursor(int number) const { return cursors_.count(number) != 0; }

    // ExerciseView
    bool RunLoginDialog(LoginDialogModel& dialog, LoginRecord& record) override;
    DialogResult RunPasswordDialog(PasswordDialogModel& dialog) override;
    bool RunOptionsDialog(OptsRec& opts) override;
    bool RunDateTimeDialog(DateTimeDialogModel& dialog) override;
    bool RunMountDialog(MountDialogModel& dialog) override;
    void RunAboutBox(const std::string& versionText) override;
    void MenusChanged() override;
    void Repaint() override;
    void SetBusy(bool busy) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildClientArea();
    void BuildMenus();
    QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption);
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (Exercise::*command)() = nullptr);
    void FormCreate();
    // A picture from the program folder, its name matched without regard to
    // case; a null image when it is missing or unreadable.
    QImage LoadProgramPicture(const std::string& name) const;
    void LoadCursor(int number, const std::string& name);
    void CRT1Paint(QPainter& painter);

    platform::Services& services_;
    Exercise exercise_;
    int busy_ = 0;

    QImage logoBitmap_;
    QImage titleBitmap_;
    std::map<int, QCursor> cursors_;

    QFrame* CrtPnl = nullptr;
    QWidget* CRT1 = nullptr;
    QLabel* IDPnl = nullptr;
    QFrame* DomePnl = nullptr;
    QFrame* CntrlPnl = nullptr;
};

}  // namespace qnr::app
