#include "app/Exercise.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "astro/Random.h"
#include "astro/StringUt.h"

namespace qnr::app {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A field of digits only, as the dialog's date and time fields hold them.
std::optional<int> Digits(const std::string& field, std::size_t maxDigits) {
    if (field.empty() || field.size() > maxDigits) return std::nullopt;
    if (!std::all_of(field.begin(), field.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto p = text.find(sep, start);
        parts.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    return parts;
}


// The text of a file, lines joined with "\r\n", whatever line ends it had.
std::string JoinedLines(const platform::Bytes& bytes) {
    std::string text(bytes.begin(), bytes.end());
    std::string joined;
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!first) joined += "\r\n";
        joined += line;
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return joined;
}

constexpr std::size_t MaxReminderChars = 1023;
constexpr std::size_t MaxReminderBytes = 1 << 16;

}  // namespace

// ---------------------------------------------------------------------------
// Dialog models

DialogResult PasswordDialogModel::Ok(platform::Dialogs& dialogs) {
    ++presses_;
    if (entry == password_) return DialogResult::OK;
    if (presses_ >= MaxTries) {
        dialogs.show("Too Many Invalid Passwords!", "Options Access Denied!", Icon::Error);
        return DialogResult::Cancel;
    }
    return DialogResult::Retry;
}

std::optional<std::int64_t> ParseSlashDate(const std::string& text) {
    const auto parts = Split(Trim(text), '/');
    if (parts.size() != 3) return std::nullopt;
    const auto y = Digits(parts[0], 4), m = Digits(parts[1], 2), d = Digits(parts[2], 2);
    if (!y || !m || !d || !IsValidDate(*y, *m, *d)) return std::nullopt;
    return EncodeDate(*y, *m, *d);
}

std::optional<Extended> ParseColonTime(const std::string& textIn) {
    std::string text = Trim(textIn);
    // A 12-hour time with its marker reads too, as the platform's parser allows.
    int half = 0;  // 1 AM, 2 PM
    if (text.size() >= 2) {
        std::string tail = text.substr(text.size() - 2);
        for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (tail == "AM" || tail == "PM") {
            half = tail == "AM" ? 1 : 2;
            text = Trim(text.substr(0, text.size() - 2));
        }
    }
    const auto parts = Split(text, ':');
    if (parts.empty() || parts.size() > 3) return std::nullopt;
    const auto h = Digits(parts[0], 2);
    const auto m = parts.size() > 1 ? Digits(parts[1], 2) : std::optional<int>(0);
    if (!h || !m || *m > 59) return std::nullopt;
    Extended seconds = 0;
    if (parts.size() > 2) {
        // Whole seconds with an optional fraction.
        const std::string& s = parts[2];
        const auto dot = s.find('.');
        const auto whole = Digits(s.substr(0, dot), 2);
        if (!whole || *whole > 59) return std::nullopt;
        seconds = *whole;
        if (dot != std::string::npos) {
            const std::string frac = s.substr(dot + 1);
            if (frac.empty() || frac.size() > 3 || !Digits(frac, 3)) return std::nullopt;
            seconds += static_cast<Extended>(*Digits(frac, 3)) / std::pow(10.0L, static_cast<Extended>(frac.size()));
        }
    }
    int hour = *h;
    if (half != 0) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (half == 2 ? 12 : 0);
    } else if (hour > 23) {
        return std::nullopt;
    }
    return (hour * 3600.0L + *m * 60.0L + seconds) / 86400.0L;
}

DateTimeDialogModel::DateTimeDialogModel(const ObsDateTime& clock, const std::string& objectId, bool first,
                                         bool cancelEnabled)
    : clock_(clock), objectId_(objectId) {
    idText = objectId;
    if (first) {
        // The exercise always starts at this moment.
        dateText = "2002/04/14";
        timeText = "12:00:00";
        dateEnabled = false;
        timeEnabled = false;
        this->cancelEnabled = false;
        return;
    }
    // Date and time are both Universal Time, so that OK without a change
    // keeps the moment even when the local date differs from the UT date.
    const DayAndMs ut = SplitDayNumber(static_cast<double>(clock.value + clock.zone));
    const CalendarDate date = DecodeDate(static_cast<double>(ut.day));
    std::string year = std::to_string(date.year);
    while (year.size() < 4) year = "0" + year;
    dateText = year + "/" + ZeroPadded(date.month, 2) + "/" + ZeroPadded(date.day, 2);
    const int secs = ut.ms / 1000;
    timeText = ZeroPadded(secs / 3600, 2) + ":" + ZeroPadded(secs / 60 % 60, 2) + ":" + ZeroPadded(secs % 60, 2);
    dateEnabled = false;
    timeEnabled = true;
    this->cancelEnabled = cancelEnabled;
}

bool DateTimeDialogModel::Ok(platform::Dialogs& dialogs) {
    const auto date = ParseSlashDate(dateText);
    if (!date) {
        dialogs.show("'" + dateText + "' is not a valid date", ApplicationTitle, Icon::Error);
        return false;
    }
    const auto time = ParseColonTime(timeText);
    if (!time) {
        dialogs.show("'" + timeText + "' is not a valid time", ApplicationTitle, Icon::Error);
        return false;
    }
    std::string id = Trim(idText).substr(0, MaxIdLength);
    objectId_ = id.empty() ? "UNKNOWN" : id;
    clock_.SetDayNumber(static_cast<double>(static_cast<Extended>(*date) + *time - clock_.zone));
    return true;
}

MountDialogModel::MountDialogModel(std::string drive, std::string medium, std::string data)
    : path(drive), drive_(std::move(drive)), medium_(std::move(medium)), data_(std::move(data)) {}

std::string MountDialogModel::Text() const {
    return "Please mount " + medium_ + " on drive indicated, or supply correct path to " + data_ + ".";
}

std::string MountDialogModel::BrowseStart(platform::FileSystem& files, const std::string& programFolder) const {
    if (!path.empty() && files.isFolder(path)) return platform::WithTrailingSlash(path);
    return programFolder;
}

void MountDialogModel::Browsed(const std::string& folder) { path = platform::WithTrailingSlash(folder); }

void MountDialogModel::Ok() { path = platform::WithTrailingSlash(path); }

CatalogFolders CatalogFoldersFromPath(const std::string& pathIn, platform::FileSystem& files) {
    const std::string path = platform::WithTrailingSlash(pathIn);
    // The first path component that is one of the two catalog folders.
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i + 5 <= path.size(); ++i) {
        if (i != 0 && path[i - 1] != '/') continue;
        const std::string part = path.substr(i, 5);
        if (SameIgnoringCase(part, "CGSC/") || SameIgnoringCase(part, "FGSC/")) {
            cut = i;
            break;
        }
    }
    const std::string base = cut == std::string::npos ? path : path.substr(0, cut);
    const std::string given = cut == std::string::npos ? std::string() : path.substr(cut, 5);
    auto folder = [&](const char* name) {
        if (SameIgnoringCase(given, std::string(name) + "/")) return base + given;
        // A folder that exists under another case is taken as it is spelt on disk.
        return files.resolve(base + name) + "/";
    };
    return {folder("CGSC"), folder("FGSC")};
}

// ---------------------------------------------------------------------------
// The exercise

Exercise::Exercise(platform::Services& services, ExerciseView& view)
    : services_(services),
      view_(view),
      options_(services),
      radioOptions_(services, services.identity && IsOlderConsumerPlatform(*services.identity)),
      radioOpts_(radioOptions_.rec) {}

Exercise::~Exercise() = default;

void Exercise::Set(const std::string& name, bool enabled, bool visible) { menus_[name] = {enabled, visible}; }
void Exercise::Enable(const std::string& name, bool enabled) { menus_[name].enabled = enabled; }
void Exercise::Show(const std::string& name, bool visible) { menus_[name].visible = visible; }

ItemState Exercise::item(const std::string& name) const {
    auto it = menus_.find(name);
    return it == menus_.end() ? ItemState{false, false} : it->second;
}

void Exercise::InitMenus() {
    menus_.clear();
    // File
    Set("File1", true, true);
    Set("Login1", true, true);
    Set("Run1", false, true);
    Set("SetDateTime1", false, false);
    Set("Preferences1", true, true);
    Set("OptionsandParameters1", true, true);
    Set("SaveUpdates1", false, true);
    Set("Exit1", true, true);
    // Telescopes
    Set("Telescopes1", false, true);
    Set("Optical1", true, false);
    Set("Access0p4", true, true);
    Set("Access1p0", true, true);
    Set("Access4p0", true, true);
    Set("RequestTime1", false, true);
    Set("Request1p0", false, true);
    Set("Request4p0", false, true);
    Set("Radio1", true, false);
    // Tools
    Set("Tools1", false, true);
    Set("ClassifySpectra1", true, false);
    Set("MeasureSpectra1", true, true);
    Set("AnalyzePulsarData1", true, false);
    Set("Spreadsheet1", false, true);
    Set("Astrometry1", false, false);
    Set("ObservationalResults1", true, false);
    Set("DisplayPrintSave1", false, true);
    Set("LoadSavedData1", true, true);
    Set("PulsarResults1", true, false);
    Set("ReviewMeasurements1", false, true);
    Set("SaveMeasurements1", false, true);
    Set("ClearMeasurementList1", true, true);
    Set("AsteroidList1", false, true);
    Set("QSOList1", true, true);
    Set("ClusterData1", true, true);
    // Window
    Set("Window1", false, true);
    for (const char* w : {"OpticalWin", "RadioWin", "SpectWin", "MeasWin", "PulsarWin", "SpRsltsWin"}) Set(w, true, false);
    // Help
    Set("Help1", true, true);
    Set("AboutthisExercise1", true, true);
    RefreshHelpMenu();
    // Panels of the running display.
    for (const char* c : {"OptLbl", "OptCntrlSw", "RadLbl", "RadCntrlSw"}) Set(c, false, false);
    Set("DomePnl", false, false);
    Set("CntrlPnl", true, false);
    Set("IDPnl", true, false);
}

void Exercise::RefreshHelpMenu() {
    const bool onHelp = !opts_.generalHelp.empty();
    const bool user = !opts_.userHelp.empty();
    Set("OnHelp1", onHelp, onHelp);
    Set("OnHelpSep", true, onHelp);
    Set("Topics1", !opts_.mainHelpList.empty(), true);
    Set("User1", user, user);
    Set("UserSep", true, user);
}

void Exercise::SetScopeMenuItems() {
    // Telescope time is never restricted in this exercise: every optical
    // telescope can be had, so there is nothing to request.
    for (const char* a : {"Access0p4", "Access1p0", "Access4p0"}) Enable(a, true);
    Enable("Request1p0", false);
    Enable("Request4p0", false);
    Enable("RequestTime1", false);
}

void Exercise::ShowRunningDisplay() {
    Set("DomePnl", false, true);
    Show("CntrlPnl", true);
    Show("IDPnl", true);
}

void Exercise::Create() {
    phase_ = DisplayPhase::Logo;
    options_.Create(OptionsFileName, ProgramVersion);
    opts_ = options_.rec;
    radioOptions_.Init(radio::RadioOptionsFileName, opts_.programFolder, radio::RadioOptionsVersion, opts_.dataFolder);
    radioOpts_ = radioOptions_.rec;
    radioChanged_ = false;
    InitMenus();

    obsClock_.SetZone(opts_.zoneHours, *services_.clock);
    clockOffset_ = 0;
    loggedIn_ = false;
    closeConfirmed_ = false;
    optionsAccess_ = false;

    if (!opts_.loginRequired) {
        phase_ = DisplayPhase::Title;
        view_.Repaint();
        optionsAccess_ = true;
        CompleteLogin();
    }
    view_.MenusChanged();
}

void Exercise::CompleteLogin() {
    Enable("Login1", false);
    Enable("Run1", true);
    if (!loggedIn_) {
        login_ = LoginRecord{};
        login_.names[0] = "Demonstration";
        login_.userFolder = "DEMO";
        loggedIn_ = true;
    }
    Randomize(*services_.clock);

    auto& files = *services_.files;
    if (opts_.usersFolder.empty()) {
        // Failures are not reported here; the saves into the folder report them.
        std::string users = files.resolve(opts_.dataFolder + "Users") + "/";
        files.makeFolders(users);
        users = files.resolve(users + login_.userFolder) + "/";
        files.makeFolders(users);
        opts_.usersFolder = users;
    }
    radioOptions_.userFolder = opts_.usersFolder;
    if (opts_.editMode) {
        optionsAccess_ = true;
        Set("Preferences1", true, true);
    }
    Enable("Astrometry1", !opts_.astrometryProgram.empty());
    Enable("Spreadsheet1", true);

    const std::string logName = LogFilePath(opts_);
    log_ = std::make_unique<LogFileObj>(services_, opts_.writeLogFile);
    log_->Create(LogProgramId, logName, &login_);
    log_->WriteLogin();
    view_.MenusChanged();
}

void Exercise::Login() {
    LoginDialogModel dialog(opts_.labTable);
    if (!view_.RunLoginDialog(dialog, login_)) return;
    if (SameIgnoringCase(login_.names[0], "Instructor")) InstructorOptions();
    view_.SetBusy(true);
    phase_ = DisplayPhase::Title;
    loggedIn_ = true;
    view_.Repaint();
    CompleteLogin();
    view_.SetBusy(false);
}

void Exercise::InstructorOptions() {
    PasswordDialogModel password(UnscramblePassword(opts_.password));
    DialogResult result;
    do {
        password.entry.clear();
        result = view_.RunPasswordDialog(password);
    } while (result == DialogResult::Retry);
    if (result != DialogResult::OK) return;

    OptsRec work = opts_;
    const bool accepted = view_.RunOptionsDialog(work);
    opts_ = work;
    if (!accepted) return;
    AfterOptionsAccepted();
    obsClock_.SetZone(opts_.zoneHours, *services_.clock);
    ObservationNow();
    if (!opts_.editMode) {
        const Answer a = services_.dialogs->ask(
            {"Do you want to retain access to the Options dialog\r\n(via \"File\"->\"Preferences\" from the Main "
             "Menu) for\r\nthe remainder of this session?",
             "Retain Options Access?", Buttons::YesNo, Icon::Question});
        optionsAccess_ = a == Answer::Yes;
        if (optionsAccess_) MakePreferencesReachable();
    }
    view_.MenusChanged();
}

void Exercise::AfterOptionsAccepted() {
    updatesPending_ = true;
    allUsersSavePending_ = opts_.administrator;
    allUsersRadioPending_ = radioChanged_;
    radioOptions_.userFolder = opts_.usersFolder;
    Enable("SaveUpdates1", true);
    SaveUpdates();
    RefreshHelpMenu();
}

void Exercise::Preferences() {
    if (!optionsAccess_) {
        services_.dialogs->show(
            "INSTRUCTOR := Many features of this software are controlled by\r\noption switches and parameters that "
            "enable you to tailor the\r\nexercise to your own needs and preferences.\r\n\r\nSee the technical "
            "documentation for details and instructions!",
            "USER OPTIONS!", Icon::Information);
        return;
    }
    OptsRec work = opts_;
    const bool accepted = view_.RunOptionsDialog(work);
    opts_ = work;
    if (!accepted) return;
    AfterOptionsAccepted();
    if (opts_.editMode) optionsAccess_ = true;
    Enable("Astrometry1", !opts_.astrometryProgram.empty());
    opts_.currentMinWavelength = opts_.defaultMinWavelength;
    opts_.currentMaxWavelength = opts_.defaultMaxWavelength;
    view_.MenusChanged();
}

void Exercise::SaveUpdates() {
    const Answer a = services_.dialogs->ask({"Save Updated Parameters in " + opts_.dataFolder + opts_.fileName + "?",
                                             "Save Option Changes?", Buttons::YesNo, Icon::Question});
    if (a == Answer::Yes) {
        options_.rec = opts_;
        const bool saved = options_.Save(opts_.dataFolder, Busy());
        bool radioSaved = true;
        if (radioChanged_) {
            radioOptions_.rec = radioOpts_;
            radioSaved = radioOptions_.Write(opts_.dataFolder, Busy());
            if (radioSaved) radioChanged_ = false;
        }
        // A save that failed (either file, each reported), or was declined at
        // the Edit Mode question, leaves the changes pending, so that they are
        // offered again.
        if (saved && radioSaved) updatesPending_ = false;
    } else {
        updatesPending_ = false;
        radioChanged_ = false;
    }
    OfferAllUsersSave();
    Enable("SaveUpdates1", updatesPending_);
    view_.MenusChanged();
}

void Exercise::OfferAllUsersSave() {
    if (!allUsersSavePending_) return;
    const Answer a =
        services_.dialogs->ask({"Save Updated Parameters in " + opts_.programFolder + opts_.fileName + "?",
                                "Use As Defaults for All Users?", Buttons::YesNo, Icon::Question});
    if (a == Answer::Yes) {
        options_.rec = opts_;
        bool saved = options_.Save(opts_.programFolder, Busy());
        if (allUsersRadioPending_) {
            radioOptions_.rec = radioOpts_;
            saved = radioOptions_.Write(opts_.programFolder, Busy()) && saved;
        }
        if (!saved) {
            opts_.administrator = false;
            options_.rec.administrator = false;
        }
    }
    allUsersSavePending_ = false;
    allUsersRadioPending_ = false;
}

std::function<void(bool)> Exercise::Busy() {
    return [this](bool busy) { view_.SetBusy(busy); };
}

void Exercise::MakePreferencesReachable() {
    if (!optionsAccess_ || view_.PreferencesBlockingWindowVisible()) return;
    Set("Preferences1", true, true);
    view_.MenusChanged();
}

// ---------------------------------------------------------------------------
// Run, the star catalogs and the date

void Exercise::Run() {
    for (const char* name : {"SetDateTime1", "Optical1", "Radio1", "ClassifySpectra1", "AnalyzePulsarData1",
                             "Astrometry1", "ObservationalResults1", "PulsarResults1", "OptLbl", "OptCntrlSw",
                             "RadLbl", "RadCntrlSw"})
        Show(name, true);
    Show("AsteroidList1", false);
    Show("ClusterData1", false);
    Show("QSOList1", opts_.editMode);
    restrictedAccess_ = false;
    if (log_) log_->WriteComponent(ExerciseComponent);
    opts_.currentHotList = opts_.hotListFile;
    view_.PreloadHotList();

    phase_ = DisplayPhase::Running;
    ShowRunningDisplay();
    view_.Repaint();
    Enable("File1", true);
    view_.MenusChanged();

    if (!LocateCatalogs()) {
        view_.MenusChanged();
        return;
    }
    DateTimeDialog(true, true);
    Enable("SetDateTime1", true);
    SetScopeMenuItems();
    Enable("Telescopes1", true);
    Enable("Tools1", true);
    Enable("Run1", false);
    view_.MenusChanged();
}

bool Exercise::CatalogsAt(const std::string& folder) {
    if (folder.empty()) return false;
    auto& files = *services_.files;
    return files.exists(files.resolve(folder + "TABLES/REGIONS.BIN"));
}

bool Exercise::LocateCatalogs() {
    if (CatalogsAt(opts_.instrumentCatalogFolder)) return true;
    auto& files = *services_.files;
    auto at = [&](const std::string& root) {
        return CatalogFolders{files.resolve(root + "CGSC") + "/", files.resolve(root + "FGSC") + "/"};
    };
    CatalogFolders found;
    if (CatalogsAt(opts_.programFolder + "CGSC/")) {
        found = at(opts_.programFolder);
    } else {
        const auto roots = files.removableMediaRoots();
        auto root = std::find_if(roots.begin(), roots.end(), [&](const std::string& r) { return CatalogsAt(r + "CGSC/"); });
        if (root != roots.end()) {
            found = at(*root);
        } else {
            MountDialogModel mount(roots.empty() ? std::string() : roots.front(), "Toval Installation CD-ROM",
                                   "Finder or Instrument Star Catalog (FGSC/ or CGSC/)");
            if (!view_.RunMountDialog(mount)) return false;
            // A typed path counts as much as a browsed one.
            found = CatalogFoldersFromPath(mount.path, files);
        }
    }
    opts_.instrumentCatalogFolder = found.instrument;
    opts_.finderCatalogFolder = found.finder;
    // Only the folders go into the saved options; other changes of the
    // working copy keep waiting for their own question.
    options_.rec.instrumentCatalogFolder = found.instrument;
    options_.rec.finderCatalogFolder = found.finder;
    options_.Save(opts_.dataFolder, Busy());
    return true;
}

void Exercise::SetDateTime(bool cancelDisabled) { DateTimeDialog(false, cancelDisabled); }

void Exercise::DateTimeDialog(bool first, bool cancelDisabled) {
    ObservationNow();
    DateTimeDialogModel dialog(obsClock_, objectId_, first, !cancelDisabled || opts_.testMode);
    if (!view_.RunDateTimeDialog(dialog)) return;
    objectId_ = dialog.objectId();
    const double real = services_.clock->localDayNumber();
    clockOffset_ = static_cast<Extended>(dialog.clock().value) - real;
    ObservationNow();
    if (opts_.editMode) Show("AsteroidList1", true);
    Enable("AsteroidList1", view_.AsteroidDataFor(obsClock_.value));
    timeChanged_ = true;
    if (item("Radio1").visible) view_.ResetRadioTime();
    view_.MenusChanged();
}

const ObsDateTime& Exercise::ObservationNow() {
    obsClock_.SetDayNumber(static_cast<double>(services_.clock->localDayNumber() + clockOffset_));
    return obsClock_;
}

// ---------------------------------------------------------------------------
// Leaving

bool Exercise::CloseQuery() {
    if (closeConfirmed_) return true;
    bool confirmed = false;
    auto& files = *services_.files;
    if (phase_ == DisplayPhase::Running && !opts_.reminderFile.empty()) {
        const std::string path = files.resolve(opts_.programFolder + opts_.reminderFile);
        platform::ReadResult file = files.isFolder(path) ? platform::ReadResult{5, {}}
                                                          : files.readFile(path, MaxReminderBytes);
        if (file.code == 0) {
            std::string text = JoinedLines(file.bytes).substr(0, MaxReminderChars);
            text += "\r\n\r\nSelect \"OK\" to Quit Exercise, \"Cancel\" to Continue.";
            confirmed = services_.dialogs->ask({text, "** Exercise Finished? **", Buttons::OKCancel,
                                                Icon::Question}) == Answer::OK;
        } else {
            services_.dialogs->show("Cannot Access Reminder File!\r\nFile Name: " + path + "\r\n\r\n" +
                                        IOErrorText(file.code),
                                    "File Error!", Icon::Error);
            AskToQuit();
            confirmed = closeConfirmed_;
        }
    } else {
        AskToQuit();
        confirmed = closeConfirmed_;
    }
    if (!confirmed) return false;
    closeConfirmed_ = true;
    if (updatesPending_)
        SaveUpdates();
    else
        OfferAllUsersSave();
    return true;
}

void Exercise::AskToQuit() {
    closeConfirmed_ = services_.dialogs->ask({"Are You Sure You Want to Quit This Exercise?",
                                              "** Exercise Finished? **", Buttons::YesNo, Icon::Question}) ==
                      Answer::Yes;
}

void Exercise::Close() {
    if (closed_) return;
    closed_ = true;
    view_.CloseTelescopeWindows();
    if (log_) {
        log_->WriteLogout();
        log_.reset();
    }
    spreadsheet_.reset();
    astrometry_.reset();
}

// ---------------------------------------------------------------------------
// Outside programs and help

void Exercise::StartFailed(const ExecMod32Obj& launcher, const std::string& caption, bool spreadsheet) {
    const std::string head = "Unable to Execute " + launcher.program() + "\r\n\r\n";
    if (launcher.endedAtOnce()) {
        services_.dialogs->show(head + "Exit Code = " + std::to_string(launcher.exitCode()) + " - Program Ended at Once",
                                caption, Icon::Error);
        return;
    }
    const int code = launcher.errorCode();
    services_.dialogs->show(head + "Code = " + std::to_string(code) + StartFailureReason(code, spreadsheet), caption,
                            Icon::Error);
}

void Exercise::Spreadsheet() {
    if (!services_.processes) return;
    platform::FileChoice choice;
    choice.title = "Select data to pass to spreadsheet.";
    choice.startFolder = opts_.usersFolder;
    choice.filter = "Comma-Separated Values (*.CSV *.csv);;Excel Spreadsheets (*.XLS *.xls);;All Files (*)";
    choice.defaultExtension = "CSV";
    std::string dataFile, dataFolder;
    if (services_.chooser) {
        if (auto chosen = services_.chooser->openFile(choice)) {
            dataFile = platform::FileNameOf(*chosen);
            dataFolder = platform::FolderOf(*chosen);
        }
    }
    std::string program;
    std::vector<std::string> arguments;
    if (opts_.spreadsheetProgram.empty()) {
        const platform::Association found = services_.processes->associatedProgram(dataFolder, dataFile);
        if (found.code <= 32) {
            services_.dialogs->show("Unable to obtain associated processor for \r\n" + dataFile + "\r\n\r\nCode = " +
                                        std::to_string(found.code) + AssociationFailureReason(found.code),
                                    "Cannot Run Spreadsheet!", Icon::Error);
            return;
        }
        program = found.program;
        arguments = found.arguments;
    } else {
        program = opts_.spreadsheetProgram;
        // The program starts in the data folder, where the bare name is found.
        if (!dataFile.empty()) arguments.push_back(dataFile);
    }
    if (!spreadsheet_) spreadsheet_ = std::make_unique<ExecMod32Obj>(*services_.processes);
    if (spreadsheet_->IsRunning(program)) {
        services_.dialogs->beep();
        services_.dialogs->show(
            "The Spreadsheet Program is Already Running.\r\n\r\nUse Alt-Tab to Scan Current Modules.",
            "Module Already Loaded", Icon::Information);
        return;
    }
    // The start waits a moment to see whether the program ends at once.
    view_.SetBusy(true);
    spreadsheet_->Start(program, arguments, dataFolder);
    view_.SetBusy(false);
    if (spreadsheet_->started()) {
        if (log_) log_->WriteComponent("Spreadsheet Program");
    } else {
        StartFailed(*spreadsheet_, "Cannot Run Spreadsheet!", true);
    }
}

void Exercise::Astrometry() {
    if (!services_.processes || opts_.astrometryProgram.empty()) return;
    if (!astrometry_) astrometry_ = std::make_unique<ExecMod32Obj>(*services_.processes);
    const std::string& program = opts_.astrometryProgram;
    if (astrometry_->IsRunning(program)) {
        services_.dialogs->beep();
        services_.dialogs->show(
            "The Astrometry Program is Already Running.\r\n\r\nUse Alt-Tab to Scan Current Modules.",
            "Module Already Loaded", Icon::Information);
        return;
    }
    view_.SetBusy(true);
    astrometry_->Start(program, {opts_.instrumentCatalogFolder}, opts_.usersFolder);
    view_.SetBusy(false);
    if (astrometry_->started()) {
        if (log_) log_->WriteComponent("Astrometry Module");
    } else {
        StartFailed(*astrometry_, "Cannot Run Astrometry Module!", false);
    }
}

void Exercise::EnableItem(const std::string& name, bool enabled) {
    Enable(name, enabled);
    view_.MenusChanged();
}

void Exercise::ShowItem(const std::string& name, bool visible) {
    Show(name, visible);
    view_.MenusChanged();
}

void Exercise::OnHelp() { view_.ShowHelpFile("On Help", opts_.programFolder + opts_.generalHelp); }
void Exercise::UserHelp() { view_.ShowHelpFile("User Help", opts_.programFolder + opts_.userHelp); }
void Exercise::Topics() { view_.ShowHelpTopics(); }
void Exercise::About() { view_.RunAboutBox(AboutVersionText); }

}  // namespace qnr::app
