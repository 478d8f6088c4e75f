#pragma once
// The exercise without its window: phases, login, the instructor password,
// Run with the star catalogs and the date, the options saves, exit, the two
// outside programs and the state of every menu item.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/APIUtils.h"
#include "app/Login.h"
#include "app/Options.h"
#include "astro/DateTime.h"
#include "platform/Services.h"
#include "radio/RadiOpts.h"

namespace qnr::app {

// Logo at start, title once a group is logged in (or at once in Demonstration
// Mode), running after File, Run.
enum class DisplayPhase { Logo, Title, Running };

enum class DialogResult { OK, Cancel, Retry };

inline constexpr const char* LogProgramId = "ZARN_QNR";
inline constexpr const char* ExerciseComponent = "Exercise: The Durev for Quenara";
inline constexpr const char* AboutVersionText = "Version 1.121";
// The caption of conversion errors, as the application shows them.
inline constexpr const char* ApplicationTitle = "Quenara Exercise";

// Menu items, menus and panel controls by object name.
struct ItemState {
    bool enabled = true;
    bool visible = true;
    bool operator==(const ItemState&) const = default;
};
using MenuState = std::map<std::string, ItemState>;

// "Password Required": counts the OK presses over all its showings.
class PasswordDialogModel {
public:
    static constexpr int MaxTries = 3;
    explicit PasswordDialogModel(std::string password) : password_(std::move(password)) {}

    std::string entry;  // the edit field
    // OK: the right password (with regard to case) gives OK; a wrong one Retry,
    // the third wrong one the refusal and Cancel.
    DialogResult Ok(platform::Dialogs& dialogs);
    int presses() const { return presses_; }

private:
    std::string password_;
    int presses_ = 0;
};

// "Set Date/Time, ID" on a copy of the observation clock.
class DateTimeDialogModel {
public:
    static constexpr std::size_t MaxIdLength = 18;
    // first: the dialog that starts the exercise (fixed moment, no Cancel).
    DateTimeDialogModel(const ObsDateTime& clock, const std::string& objectId, bool first, bool cancelEnabled);

    std::string dateText;  // "YYYY/MM/DD", Universal Time
    std::string timeText;  // "hh:mm:ss", Universal Time
    std::string idText;
    bool dateEnabled = false;
    bool timeEnabled = false;
    bool cancelEnabled = false;

    // OK: false (after the conversion error) keeps the dialog open.
    bool Ok(platform::Dialogs& dialogs);

    const ObsDateTime& clock() const { return clock_; }
    const std::string& objectId() const { return objectId_; }

private:
    ObsDateTime clock_;
    std::string objectId_;
};

// "YYYY/MM/DD" and "hh:mm:ss" as the date dialog reads them; nullopt when the
// text is no date or time.
std::optional<std::int64_t> ParseSlashDate(const std::string& text);
std::optional<Extended> ParseColonTime(const std::string& text);

// "Mount Data Media": where the star catalogs are when they are not found.
class MountDialogModel {
public:
    MountDialogModel(std::string drive, std::string medium, std::string data);

    std::string Text() const;
    const std::string& drive() const { return drive_; }
    const std::string& medium() const { return medium_; }
    const std::string& data() const { return data_; }

    std::string path;  // the path field, starting with the drive
    // Where the folder browser starts: the typed path when it is a folder,
    // else the program folder.
    std::string BrowseStart(platform::FileSystem& files, const std::string& programFolder) const;
    void Browsed(const std::string& folder);
    // OK adds a missing trailing "/".
    void Ok();

private:
    std::string drive_, medium_, data_;
};

// The instrument (CGSC/) and finder (FGSC/) catalog folders for a path the
// user gave: cut at a CGSC/ or FGSC/ part it holds (letter case ignored), the
// path's own case kept, the missing part appended.
struct CatalogFolders {
    std::string instrument, finder;
};
CatalogFolders CatalogFoldersFromPath(const std::string& path, platform::FileSystem& files);

// The windows the exercise opens and asks. Dialog windows are modal; the core
// gets their outcome.
class ExerciseView {
public:
    virtual ~ExerciseView() = default;
    // "Student Accounting"; false when it was dismissed without OK.
    virtual bool RunLoginDialog(LoginDialogModel& dialog, LoginRecord& record) = 0;
    // "Password Required", its field emptied; the result ends one showing.
    virtual DialogResult RunPasswordDialog(PasswordDialogModel& dialog) = 0;
    // The options dialog on the working copy; true for OK.
    virtual bool RunOptionsDialog(OptsRec& opts) = 0;
    virtual bool RunDateTimeDialog(DateTimeDialogModel& dialog) = 0;
    // True for OK (dialog.path holds the path), false for Cancel.
    virtual bool RunMountDialog(MountDialogModel& dialog) = 0;
    virtual void RunAboutBox(const std::string& versionText) = 0;

    // The menu state or the display changed.
    virtual void MenusChanged() = 0;
    virtual void Repaint() = 0;
    virtual void SetBusy(bool busy) = 0;

    // Windows of later parts; the defaults stand for "not there".
    // The telescope, radio telescope, pulsar analysis or classification window.
    virtual bool PreferencesBlockingWindowVisible() { return false; }
    virtual void ShowHelpFile(const std::string& /*title*/, const std::string& /*path*/) {}
    virtual void ShowHelpTopics() {}
    virtual bool AsteroidDataFor(double /*dayNumber*/) { return false; }
    virtual void ResetRadioTime() {}
    virtual void CloseTelescopeWindows() {}
    // Run: the hot list of the users folder, else of the program folder.
    virtual void PreloadHotList() {}
};

class Exercise {
public:
    Exercise(platform::Services& services, ExerciseView& view);
    ~Exercise();
    Exercise(const Exercise&) = delete;
    Exercise& operator=(const Exercise&) = delete;

    // The main window's creation: options, clock, menus, Demonstration Mode.
    void Create();

    // File menu.
    void Login();
    void Run();
    void SetDateTime(bool cancelDisabled = false);
    void Preferences();  // Options and Parameters...
    void SaveUpdates();
    // Leaving: true when the window may close (asks once); then Close.
    bool CloseQuery();
    void Close();

    // Tools and Help menus.
    void Spreadsheet();
    void Astrometry();
    void OnHelp();
    void UserHelp();
    void Topics();
    void About();

    // Called by the telescope window when it hides.
    void MakePreferencesReachable();
    // Windows of other subsystems change the items they govern (the results
    // window its Display/Print/Save and Window entries).
    void EnableItem(const std::string& name, bool enabled);
    void ShowItem(const std::string& name, bool visible);
    // The observation clock at this moment: the real clock plus the offset.
    const ObsDateTime& ObservationNow();

    DisplayPhase displayPhase() const { return phase_; }
    bool loggedIn() const { return loggedIn_; }
    bool optionsAccess() const { return optionsAccess_; }
    bool updatesPending() const { return updatesPending_; }
    bool allUsersSavePending() const { return allUsersSavePending_; }
    bool closeConfirmed() const { return closeConfirmed_; }
    bool timeChanged() const { return timeChanged_; }
    void clearTimeChanged() { timeChanged_ = false; }
    bool restrictedAccess() const { return restrictedAccess_; }
    Extended clockOffset() const { return clockOffset_; }
    const ObsDateTime& observationClock() const { return obsClock_; }
    const std::string& objectId() const { return objectId_; }
    const LoginRecord& loginRecord() const { return login_; }
    LogFileObj* log() { return log_.get(); }
    const MenuState& menus() const { return menus_; }
    ItemState item(const std::string& name) const;

    const OptsRec& opts() const { return opts_; }
    OptsRec& opts() { return opts_; }
    // The working copy of the radio options every radio window reads.
    const radio::RadioOptsRec& radioOpts() const { return radioOpts_; }
    radio::RadioOptsRec& radioOpts() { return radioOpts_; }
    // The options dialog tells when its radio dialog ended with OK: the
    // radio options are then saved with the options.
    void RadioOptionsAccepted() { radioChanged_ = true; }
    bool radioOptionsChanged() const { return radioChanged_; }

private:
    void InitMenus();
    void Set(const std::string& name, bool enabled, bool visible);
    void Enable(const std::string& name, bool enabled);
    void Show(const std::string& name, bool visible);
    void RefreshHelpMenu();
    void SetScopeMenuItems();
    void ShowRunningDisplay();
    void CompleteLogin();
    void InstructorOptions();
    void AfterOptionsAccepted();
    // False when the mount dialog was cancelled.
    bool LocateCatalogs();
    bool CatalogsAt(const std::string& folder);
    // The first dialog (from Run) has a fixed moment and no Cancel.
    void DateTimeDialog(bool first, bool cancelDisabled);
    void AskToQuit();
    void OfferAllUsersSave();
    // The view's hourglass, for the options saves to switch around their writing.
    std::function<void(bool)> Busy();
    void StartFailed(const ExecMod32Obj& launcher, const std::string& caption, bool spreadsheet);

    platform::Services& services_;
    ExerciseView& view_;
    OptsObj options_;
    OptsRec opts_;
    radio::RadiOptsObj radioOptions_;
    radio::RadioOptsRec radioOpts_;
    bool radioChanged_ = false;
    bool allUsersRadioPending_ = false;
    MenuState menus_;

    DisplayPhase phase_ = DisplayPhase::Logo;
    bool loggedIn_ = false;
    bool optionsAccess_ = false;
    bool updatesPending_ = false;
    bool allUsersSavePending_ = false;
    bool closeConfirmed_ = false;
    bool timeChanged_ = false;
    bool restrictedAccess_ = false;
    bool closed_ = false;
    Extended clockOffset_ = 0;
    ObsDateTime obsClock_;
    std::string objectId_;
    LoginRecord login_;
    std::unique_ptr<LogFileObj> log_;
    std::unique_ptr<ExecMod32Obj> spreadsheet_, astrometry_;
};

}  // namespace qnr::app
