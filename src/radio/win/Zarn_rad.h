#pragma once
// The radio telescope window: the telescope's controls and displays, the
// whole-sky map and the receiver's attached pulsar, bound to RadioTelescope.
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "radio/RadioTelescope.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace qnr::ui {
class SevenSegmentDisplay;
class ToggleSwitch;
}  // namespace qnr::ui

namespace qnr::help {
class HelpList;
class THelpLstDlg;
class THelpWin;
}  // namespace qnr::help

namespace qnr::observatory {
class SlewButton;
class THotListForm1;
}  // namespace qnr::observatory

namespace qnr::radio {

class AitoffMap;

// What the radio telescope window needs from the main window.
struct RadioWindowLinks {
    // Sets the observation clock to the real time plus the clock offset.
    std::function<void()> refreshClock;
    // Asked when the window would close: true when the program is ending.
    std::function<bool()> closeConfirmed;
    // The window hid itself (closed while the program goes on).
    std::function<void()> hidden;
    // The window became active: the main display shows the radio telescope.
    std::function<void()> activated;
    // Writes a "Component:" entry in the user log.
    std::function<void(const std::string&)> logComponent;
    // Brings the main window forward.
    std::function<void()> focusMain;
    // The exercise identifier (Add Current Item).
    std::function<std::string()> exerciseId;
    // The hot list window the optical telescope shares with this one.
    std::function<observatory::THotListForm1*()> hotListWindow;
    // The about box with its version text.
    std::function<void(const std::string&)> about;
    // The receiver windows: the master is opened (or brought forward), and
    // gets the attached pulsar whenever it changes.
    std::function<void()> openReceiver;
    std::function<void(const PulsarRecord*, Extended distance)> attachmentChanged;
    // The pulsar parameters window.
    std::function<void()> showPulsarList;
    // The analysis tool's save of the recorded data.
    std::function<void()> saveRecordedData;
};

class TRadioLab : public QMainWindow, public RadioTelescopeHost {
    Q_OBJECT
public:
    // radio and opts are the main window's working copies.
    TRadioLab(platform::Services& services, RadioOptsRec& radio, app::OptsRec& opts, ObsDateTime& clock,
              RadioWindowLinks links, QWidget* parent = nullptr);
    ~TRadioLab() override;

    RadioTelescope& scope() { return *scope_; }
    AitoffMap& map() { return *MapBox; }

    // The radio switch: the first showing loads the catalog; false (after
    // its message, the window staying hidden) when the catalog cannot serve.
    bool ShowWindow();
    void HideWindow();
    // The main window changed the observation time.
    void ReSetTime();

    void SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer);

    // The timers' ticks as the QTimers call them (tests call them directly).
    void clockTimerTimer();
    void SlewTimerTimer();
    void SlewTimer2Timer();

    // Commands.
    void SetCoordinates1Click();
    void ViewSelectfromList1Click();
    void AddCurrentItemtoList1Click();
    void RcvrBtnClick();
    void PulsarList1Click();
    // The master receiver was closed.
    void ReceiverClosed();
    // The analysis tool has (or no longer has) recorded data to save.
    void EnableSaveRecordedData(bool enabled);

    // RadioTelescopeHost
    void PointingChanged() override;
    void CaptionChanged() override;
    void AttachmentChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void DrawMap();
    void SyncControls();
    void SyncTimers();
    void ShowPosition();
    void ShowClock();
    void ShowFocusColours();
    bool SlewTo(const observatory::ObjctDat& target);

    platform::Services& services_;
    RadioOptsRec& radio_;
    app::OptsRec& opts_;
    RadioWindowLinks links_;
    std::unique_ptr<RadioTelescope> scope_;
    bool placed_ = false;
    bool plotted_ = false;

    QTimer clockTimer_, SlewTimer_, SlewTimer2_;

    AitoffMap* MapBox = nullptr;
    QLabel *StatnTxt = nullptr, *LongTxt = nullptr, *LatTxt = nullptr, *PlsrTxt = nullptr;
    QLabel *DateTxt = nullptr, *LTTxt = nullptr, *JDTxt = nullptr;
    ui::SevenSegmentDisplay *LSTClock = nullptr, *UTClock = nullptr, *RAClock = nullptr, *DecClock = nullptr;
    ui::ToggleSwitch* DriveBtn = nullptr;
    QLabel* ClockLbl = nullptr;
    observatory::SlewButton *NBtn = nullptr, *SBtn = nullptr, *EBtn = nullptr, *WBtn = nullptr;
    QToolButton *RateUpBtn = nullptr, *RateDnBtn = nullptr;
    QLabel *RateLbl = nullptr, *RateCaption = nullptr;
    QPushButton* RcvrBtn = nullptr;

    QMenu *File1 = nullptr, *Slew1 = nullptr, *Help1 = nullptr;
    QAction *SaveRecordedData1 = nullptr, *PulsarListSep = nullptr, *PulsarList1 = nullptr, *Exit1 = nullptr;
    QAction *SetCoordinates1 = nullptr, *ViewSelectfromList1 = nullptr, *AddCurrentItemtoList1 = nullptr,
            *SaveListSep = nullptr, *SaveUpdatedList1 = nullptr, *LoadHotList1 = nullptr;
    QAction* ObservatoryMainControlPanel1 = nullptr;
    QAction *OnHelp1 = nullptr, *OnHelpSep = nullptr, *Topics1 = nullptr, *User1 = nullptr, *UserSep = nullptr,
            *AboutThisExercise1 = nullptr;

    std::unique_ptr<help::HelpList> helpList_;
    std::string helpListPath_;
    help::THelpLstDlg* helpChooser_ = nullptr;
    help::THelpWin* helpViewer_ = nullptr;
};

}  // namespace qnr::radio
