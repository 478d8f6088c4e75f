#pragma once
// The photometer window "Toval Photometer Control": filter, integration
// time and number of integrations, the Reading switch, Start and Stop, the
// digit counter and the displays of the core Photometer, which PhotoTimer
// ticks. Created once at start; closing only hides it, so the sky readings
// stay for the next opening.
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <string>

#include "photometry/Photometer.h"
#include "platform/Services.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace qnr::app { struct OptsRec; }
namespace qnr::help {
class HelpList;
class THelpLstDlg;
class THelpWin;
}  // namespace qnr::help
namespace qnr::ui {
class MultiPositionSwitch;
class SevenSegmentDisplay;
}  // namespace qnr::ui

namespace qnr::photometry {

class TPhotomApForm1;

class TPhotometer : public QMainWindow {
    Q_OBJECT

public:
    TPhotometer(platform::Services& services, const app::OptsRec& opts, observatory::TelescopeHandOff& handOff,
                PhotometerLinks links, QWidget* parent = nullptr);
    ~TPhotometer() override;

    // The telescope window's Access: Show, then Activate.
    void OpenFor();
    void SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer);

    // As the widgets and PhotoTimer call them (tests call them directly).
    void StrtBtnClick();
    void StpBtnClick();
    void PhotoTimerTimer();
    void Record1Click();
    void Aperture1Click();

    Photometer& photometer() { return core_; }
    TPhotomApForm1* apertureDialog() { return apertureForm_; }

    QLabel* IDText = nullptr;
    QGroupBox* FltrGrp = nullptr;
    ui::MultiPositionSwitch* FltrSlider = nullptr;
    ui::MultiPositionSwitch* SecsSlider = nullptr;
    ui::MultiPositionSwitch* IntegSlider = nullptr;
    QGroupBox* RdngGrp = nullptr;
    ui::MultiPositionSwitch* RdngSlider = nullptr;
    QPushButton* StrtBtn = nullptr;
    QPushButton* StpBtn = nullptr;
    QLineEdit* ElpsdEd = nullptr;
    QLineEdit* CmpltEd = nullptr;
    QListWidget* RawList = nullptr;
    QLineEdit* MeanEd = nullptr;
    QLineEdit* SkyEd = nullptr;
    QLineEdit* SNEd = nullptr;
    QLineEdit* MagEd = nullptr;
    QLabel* YMDLbl = nullptr;
    QLabel* JDLbl = nullptr;
    QWidget* DigitPnl = nullptr;
    ui::SevenSegmentDisplay* DigitImg = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Data1 = nullptr;
    QAction* Record1 = nullptr;
    QAction* ExitPhotometer1 = nullptr;
    QAction* Aperture1 = nullptr;
    QAction* Help1 = nullptr;
    QTimer* PhotoTimer = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void Sync();
    void HideAndRelease();
    void LoadHelpList();

    platform::Services& services_;
    const app::OptsRec& opts_;
    observatory::TelescopeHandOff& handOff_;
    Photometer core_;
    TPhotomApForm1* apertureForm_ = nullptr;
    std::unique_ptr<help::HelpList> helpList_;
    std::string helpListPath_;
    help::THelpLstDlg* helpChooser_ = nullptr;
    help::THelpWin* helpViewer_ = nullptr;
    bool formShown_ = false;
    int busy_ = 0;  // a core command is running (its messages re-activate the window)
};

}  // namespace qnr::photometry
