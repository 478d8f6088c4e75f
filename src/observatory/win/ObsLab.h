#pragma once
// The optical telescope window: the mount's controls and displays.
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "observatory/FieldView.h"
#include "observatory/HandOff.h"
#include "observatory/HotList.h"
#include "photometry/InfoList.h"
#include "photometry/win/InfoListForm.h"
#include "observatory/Mount.h"

class QAction;
class QLabel;
class QMenu;

namespace qnr::ui {
class IndicatorLamp;
class MultiPositionSwitch;
class SevenSegmentDisplay;
class ToggleSwitch;
}  // namespace qnr::ui

namespace qnr::help {
class HelpList;
class THelpLstDlg;
class THelpWin;
class TGetSrchStrDlg;
}  // namespace qnr::help

namespace qnr::observatory {

class THotListForm1;

// A direction button: a slew runs while it is held and stops on any release
// of the button, wherever the pointer is, and whenever the window loses the
// mouse (a message box, another window).
class SlewButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
signals:
    void slewPressed();
    void slewReleased();
protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
private:
    void Release();
    bool held_ = false;
};

// What the telescope window needs from the main window.
struct TelescopeWindowLinks {
    // Sets the observation clock to the real time plus the clock offset.
    std::function<void()> refreshClock;
    // Asked when the window would close: true when the program is ending.
    std::function<bool()> closeConfirmed;
    // The window hid itself (closed while the program goes on).
    std::function<void()> hidden;
    // The window became active and wants the main display to show it.
    std::function<void()> activated;
    // Writes a "Component:" entry in the user log.
    std::function<void(const std::string&)> logComponent;
    // Opens the instrument of the selector (0 camera, 1 photometer, 2
    // spectrometer) on this window's hand-off; false when there is none.
    std::function<bool(int)> openInstrument;
    // The main window's time-changed flag (a new observation time) and its reset.
    std::function<bool()> timeChanged;
    std::function<void()> clearTimeChanged;
    // An object identified by a click in Edit Mode (the catalog-object window).
    std::function<void(const Identified&, bool finderView)> objectIdentified;
};

class TObsrvtry : public QMainWindow, public MountHost, public HotListHost, public TelescopeHandOff {
    Q_OBJECT
public:
    TObsrvtry(platform::Services& services, app::OptsRec& opts, ObsDateTime& clock, TelescopeWindowLinks links,
              QWidget* parent = nullptr);
    ~TObsrvtry() override;

    TelescopeMount& mount() { return *mount_; }

    // From the main window (control panel).
    void TakeTelescope(int index);
    void ResetTelescope();
    // The optical switch: show, or hide without asking.
    void ShowWindow();
    void HideWindow();

    // The timers' ticks, as the QTimers call them (tests call them directly).
    void clocktimerTimer();
    void SlewTimerTimer();
    void SlewTimer2Timer();

    // Set Coordinates... (Slew menu).
    void SetCoordinates1Click();

    // The hot list and the help list. The shared dialogs outlive the window.
    void SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer, help::TGetSrchStrDlg* search);
    HotList& hotList() { return *hotList_; }
    THotListForm1* hotListWindow() { return hotListForm_.get(); }
    // The hot list window, made when first wanted (the radio telescope shares it).
    THotListForm1& hotListForm();
    void SelectFromList1Click();

    // The photometer's aperture share, which picks the object at the centre
    // while the camera or the photometer is selected (null: the nearest object).
    void SetPhotometerAcceptance(InstrumentAcceptance* acceptance) { photometerAcceptance_ = acceptance; }

    // The field view. The catalogs are created once at start, before the windows.
    void SetCatalogs(SkyCatalogs* catalogs);
    FieldView* fieldView() { return fieldView_.get(); }
    // Whether the telescope has a pointing yet (0 h is a real one).
    bool hasPointing() const { return firstPaintDone_; }
    // Builds or moves the view to the pointing and repaints; messages come after.
    void RefreshView();
    void SiteInformation1Click();
    void PrintSkyImage1Click();
    void RdngBtnClick();
    photometry::TInfoListForm1* siteWindow() { return siteForm_.get(); }

    // TelescopeHandOff
    std::optional<FieldObject> CurrentObject() override;
    int CentreBrightness() override;
    const Raster* FieldPicture() override;
    const Raster* GalaxyLayer() override;
    Extended RightAscension() override;
    Extended Declination() override;
    int Telescope() override;
    Extended TelescopeBaseMagnitude() override;
    Extended CameraFieldWidth() override;
    Extended CameraFieldHeight() override;
    Extended JulianDate() override;
    SkyCatalogs& Catalogs() override;
    void SetPhotometerAperture(int radiusPixels) override;
    int PhotometerApertureRadius() override;
    Extended PhotometerApertureDegrees() override;
    void DisableDrive() override;
    void InstrumentClosed() override;
    std::uint32_t FieldSeed() override;
    bool GalaxiesDrawn() override;

    // HotListHost
    bool SlewTo(const ObjctDat& target) override;
    ObjctDat CurrentPosition() override;
    void SaveEnabledChanged(bool enabled) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MountHost
    void PointingChanged() override;
    void Repaint() override;
    void ForgetMarkedObject() override;
    void ForgetField() override;

    void BuildFieldView();
    ViewRequest CurrentRequest() const;
    void ShowNotices();
    void PaintView();
    bool CrtEvent(QEvent* event);
    void UpdateViewLabel();

    void BuildWindow();
    void BuildListMenus();
    // Before closing: offers to save an unsaved hot list.
    void ConfirmHotListSaved();
    void UpdateListMenus();
    void FirstPaint();
    void SyncControls();
    void SyncTimers();
    void ShowPosition();
    void ShowClock();

    platform::Services& services_;
    app::OptsRec& opts_;
    ObsDateTime& clock_;
    TelescopeWindowLinks links_;
    std::unique_ptr<TelescopeMount> mount_;
    bool firstPaintDone_ = false;

    QTimer clocktimer_, SlewTimer_, SlewTimer2_;

    QWidget* CRT1 = nullptr;
    QLabel* ScopeLbl = nullptr;
    QLabel* DateTxt = nullptr;
    ui::SevenSegmentDisplay *LTTxt = nullptr, *JDTxt = nullptr, *LSTClock = nullptr, *UTClock = nullptr;
    ui::SevenSegmentDisplay *RAClock = nullptr, *RADSecs = nullptr, *DecDrgs = nullptr, *DecMnScs = nullptr;
    QLabel* SignChr = nullptr;  // the segments have no "+"
    ui::ToggleSwitch* DriveBtn = nullptr;
    ui::IndicatorLamp* DrvOnLed = nullptr;
    SlewButton *NBtn = nullptr, *SBtn = nullptr, *EBtn = nullptr, *WBtn = nullptr;
    ui::IndicatorLamp *NLed = nullptr, *SLed = nullptr, *ELed = nullptr, *WLed = nullptr;
    ui::MultiPositionSwitch *RateSlider = nullptr, *ViewSlider = nullptr, *InstSlider = nullptr;
    QPushButton* RdngBtn = nullptr;
    QMenu* SlewMenu = nullptr;
    QAction* SetCoordinates1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction *SelectFromList1 = nullptr, *LoadHotList1 = nullptr, *AddCurrentItemtoList1 = nullptr,
            *SaveUpdatedList1 = nullptr, *Help1 = nullptr;

    SkyCatalogs* catalogs_ = nullptr;
    InstrumentAcceptance* photometerAcceptance_ = nullptr;
    std::unique_ptr<FieldView> fieldView_;
    bool noticesQueued_ = false;
    int pressButton_ = 0, pressX_ = 0, pressY_ = 0;
    QLabel* ViewLbl2 = nullptr;
    QAction *SiteInformation1 = nullptr, *PrintSkyImage1 = nullptr;
    std::unique_ptr<photometry::InfoListReport> siteList_;
    std::unique_ptr<photometry::TInfoListForm1> siteForm_;

    std::unique_ptr<HotList> hotList_;
    std::unique_ptr<THotListForm1> hotListForm_;
    std::unique_ptr<help::HelpList> helpList_;
    std::string helpListPath_;
    Raster galaxyView_;  // the view's window of the galaxy layer, for the camera
    help::THelpLstDlg* helpChooser_ = nullptr;
    help::THelpWin* helpViewer_ = nullptr;
    help::TGetSrchStrDlg* search_ = nullptr;
};

// The coordinate dialog TSkyCoordsDlg over its model; true on an accepted OK.
bool RunSkyCoordsDialog(QWidget* parent, SkyCoordsDialogModel& model,
                        const std::function<bool(const SkyCoordsDialogModel&)>& accept);

}  // namespace qnr::observatory
