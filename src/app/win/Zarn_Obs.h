#pragma once
// The main window: the observatory's control room, a view of the exercise.
#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QTimer>

#include "app/ControlPanel.h"
#include "app/Exercise.h"
#include "app/Options.h"
#include "platform/Services.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;

namespace qnr::observatory { class TObsrvtry; }
namespace qnr::radio { class TRadioLab; }
namespace qnr::help {
class HelpList;
class THelpLstDlg;
class THelpWin;
class TGetSrchStrDlg;
}  // namespace qnr::help
namespace qnr::photometry {
class ResultsList;
class RsltsListForm1;
class TPhotometer;
}  // namespace qnr::photometry
namespace qnr {
class SkyCatalogs;
class NakedEyeSky;
class TNkdEyeDataForm;
}  // namespace qnr
namespace qnr::catalogs { class TOrbRptForm1; }
namespace qnr::ui {
class IndicatorLamp;
class RockerSwitch;
class ToggleSwitch;
}  // namespace qnr::ui

namespace qnr::app {

class TEnvironment1 : public QMainWindow, public ExerciseView, public ControlPanelHost {
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
    ControlPanel& panel() { return panel_; }
    // The optical telescope window, created after this one (it lives as long).
    void SetTelescopeWindow(observatory::TObsrvtry* window);
    observatory::TObsrvtry* telescopeWindow() const { return telescope_; }
    // The photometer, created once after the telescope window (whose child it is).
    void SetPhotometerWindow(photometry::TPhotometer* window) { photometer_ = window; }
    photometry::TPhotometer* photometerWindow() const { return photometer_; }
    // The radio telescope window, created after the telescope window.
    void SetRadioWindow(radio::TRadioLab* window) { radioWindow_ = window; }
    radio::TRadioLab* radioWindow() const { return radioWindow_; }
    // The sky clock the telescope window reads: the observation clock, refreshed.
    ObsDateTime& skyClock() { return skyClock_; }
    void RefreshSkyClock();

    // The panel's timers, as the QTimers call them (tests call them directly).
    void DomeTimerTimer();
    void ScopeTimerTimer();
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
    void CloseTelescopeWindows() override;
    void ResetRadioTime() override;
    void ShowHelpFile(const std::string& title, const std::string& path) override;
    void ShowHelpTopics() override;
    void PreloadHotList() override;
    bool AsteroidDataFor(double dayNumber) override;
    // The sky catalogs, made once at start before the windows that read them.
    void SetCatalogs(SkyCatalogs* catalogs) { catalogs_ = catalogs; }

    // The shared help dialogs, created once in the start-up order.
    void SetSharedDialogs(help::THelpLstDlg* chooser, help::THelpWin* viewer, help::TGetSrchStrDlg* search);
    help::THelpLstDlg* helpChooser() const { return helpChooser_; }
    help::THelpWin* helpViewer() const { return helpViewer_; }
    // The observational results every instrument adds to, and its window.
    photometry::ResultsList& results();
    photometry::RsltsListForm1& resultsWindow();
    bool PreferencesBlockingWindowVisible() override;

    // ControlPanelHost
    void TakeTelescope(int index) override;
    void ResetTelescope() override;
    void ShowTelescopeWindow(bool show) override;
    bool TelescopeWindowVisible() override;
    void ExitTelescopeWindow() override;
    void ShowRadioWindow(bool show) override;
    void ComputeDomeSky() override;
    // A right-button click in the slit (display pixels): identify the star.
    void IdentifyDomeStar(QPoint press, QPoint release);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void DrawDome(QPainter& painter);
    void DrawDomeSky(QPainter& painter, QRect slitBox);
    void BuildPanels(QWidget* client);
    // Applies the panel's state to its widgets and to the menus it governs.
    void SyncPanel();
    // The action or widget of a menu-state name; null when there is none.
    QObject* MenuObject(const std::string& name);
    void Access(int scope);
    void ConnectResultsMenu();

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
    ui::RockerSwitch* DomeSw1 = nullptr;
    ui::IndicatorLamp *OpenLEDL = nullptr, *OpenLEDR = nullptr, *CloseLEDL = nullptr, *CloseLEDR = nullptr;
    ui::IndicatorLamp *IsOpenLED = nullptr, *IsClosedLED = nullptr;
    ui::ToggleSwitch *OptCntrlSw = nullptr, *RadCntrlSw = nullptr;

    ControlPanel panel_;
    observatory::TObsrvtry* telescope_ = nullptr;
    photometry::TPhotometer* photometer_ = nullptr;
    radio::TRadioLab* radioWindow_ = nullptr;
    QImage radioPicture_;
    bool radioPictureLoaded_ = false;
    ObsDateTime skyClock_;
    bool runningPainted_ = false;
    QTimer DomeTimer_, ScopeTimer_;
    std::map<std::string, QPointer<QObject>> menuObjects_;

    help::THelpLstDlg* helpChooser_ = nullptr;
    help::THelpWin* helpViewer_ = nullptr;
    help::TGetSrchStrDlg* search_ = nullptr;
    std::unique_ptr<help::HelpList> mainHelpList_;
    std::string mainHelpPath_;
    std::unique_ptr<photometry::ResultsList> results_;
    std::unique_ptr<photometry::RsltsListForm1> resultsWindow_;
    SkyCatalogs* catalogs_ = nullptr;
    std::unique_ptr<catalogs::TOrbRptForm1> asteroidReport_;
    std::unique_ptr<NakedEyeSky> nakedEye_;
    std::unique_ptr<TNkdEyeDataForm> starData_;
    std::optional<std::size_t> markedStar_;
    QPoint rightPress_{-1, -1};
};

// The optical telescope window, linked to the main window's clock, log,
// control panel and close state.
std::unique_ptr<observatory::TObsrvtry> CreateTelescopeWindow(platform::Services& services, TEnvironment1& main);
// The radio telescope window, on the main window's radio options, clock, log
// and control panel, sharing the optical telescope's hot list.
std::unique_ptr<radio::TRadioLab> CreateRadioWindow(platform::Services& services, TEnvironment1& main);

// The photometer on the telescope window's hand-off, linked to the main
// window's log, exercise identifier and results list; the telescope window
// owns it.
photometry::TPhotometer* CreatePhotometerWindow(platform::Services& services, TEnvironment1& main,
                                                observatory::TObsrvtry& scope);

}  // namespace qnr::app
