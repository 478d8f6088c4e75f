#pragma once
// Fakes for the exercise's core tests: outside programs, the file chooser, a
// file system with scripted removable media, and a scripted view.
#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Exercise.h"
#include "platform/Services.h"
#include "support/Fakes.h"

namespace qnr::test {

// Programs "run" until the test ends them.
class FakeProcesses final : public platform::Processes {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
        std::string folder;
    };
    std::vector<Start> starts;
    std::vector<std::string> associationQueries;  // folder + "|" + file
    platform::Association association{platform::AssociationFound, "/usr/bin/sheet", {}};
    int startError = 0;  // not 0: every start fails with it
    bool running = true;  // every started program, until set false
    std::optional<int> endsAtOnceWith;  // set: every started program ends at once with this exit code

    std::unique_ptr<platform::Process> start(const std::string& program, const std::vector<std::string>& arguments,
                                             const std::string& folder, int& errorCode) override {
        starts.push_back({program, arguments, folder});
        errorCode = startError;
        if (startError != 0) return nullptr;
        return std::make_unique<Process>(running, endsAtOnceWith);
    }
    platform::Association associatedProgram(const std::string& folder, const std::string& file) override {
        associationQueries.push_back(folder + "|" + file);
        return association;
    }

private:
    class Process final : public platform::Process {
    public:
        Process(const bool& running, std::optional<int> endedWith) : running_(running), endedWith_(endedWith) {}
        bool running() override { return !endedWith_ && running_; }
        int exitCode() override { return endedWith_ ? *endedWith_ : running() ? platform::StillActive : 0; }
        bool endsWithin(int) override { return !running(); }

    private:
        const bool& running_;
        std::optional<int> endedWith_;
    };
};

class FakeChooser final : public platform::FileChooser {
public:
    std::optional<std::string> openAnswer;    // the file chosen; nullopt cancels
    std::optional<std::string> folderAnswer;  // the folder chosen; nullopt cancels
    std::vector<platform::FileChoice> opens;
    std::vector<std::string> folderStarts;

    std::optional<std::string> openFile(const platform::FileChoice& choice) override {
        opens.push_back(choice);
        return openAnswer;
    }
    std::optional<std::string> saveFile(const platform::FileChoice&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string& start) override {
        folderStarts.push_back(start);
        return folderAnswer;
    }
};

// The real file system with the removable media a test names.
class MediaFileSystem final : public ForwardingFileSystem {
public:
    std::vector<std::string> media;
    std::vector<std::string> removableMediaRoots() override { return media; }
};

// Answers the exercise's dialog windows from a script and records what they showed.
class ScriptView final : public app::ExerciseView {
public:
    explicit ScriptView(platform::Dialogs& dialogs) : dialogs_(&dialogs) {}

    // Login: the four names and the table typed; OK is pressed until it closes
    // (at most three times, the message answers come from the dialogs' script).
    std::array<std::string, 4> students{};
    std::optional<std::string> table;
    int loginShown = 0;
    bool RunLoginDialog(app::LoginDialogModel& dialog, app::LoginRecord& record) override {
        ++loginShown;
        dialog.students = students;
        if (table) dialog.table = *table;
        for (int i = 0; i < 3; ++i)
            if (dialog.Ok(record, *dialogs_)) return true;
        return false;
    }

    // Password: one entry per showing; none left cancels.
    std::deque<std::string> passwords;
    std::vector<std::string> passwordFieldAtShow;
    std::vector<app::DialogResult> passwordResults;
    app::DialogResult RunPasswordDialog(app::PasswordDialogModel& dialog) override {
        passwordFieldAtShow.push_back(dialog.entry);
        app::DialogResult result = app::DialogResult::Cancel;
        if (!passwords.empty()) {
            dialog.entry = passwords.front();
            passwords.pop_front();
            result = dialog.Ok(*dialogs_);
        }
        passwordResults.push_back(result);
        return result;
    }

    bool optionsAnswer = false;
    std::function<void(app::OptsRec&)> editOptions;
    int optionsShown = 0;
    bool RunOptionsDialog(app::OptsRec& opts) override {
        ++optionsShown;
        if (editOptions) editOptions(opts);
        return optionsAnswer;
    }

    // Date dialog: each attempt types the time (when given) and the ID and
    // presses OK; none left presses Cancel.
    struct DateAttempt {
        std::optional<std::string> time;
        std::string id;
    };
    std::deque<DateAttempt> dateAttempts;
    std::vector<app::DateTimeDialogModel> datesShown;  // as they opened
    bool RunDateTimeDialog(app::DateTimeDialogModel& dialog) override {
        datesShown.push_back(dialog);
        while (!dateAttempts.empty()) {
            DateAttempt a = dateAttempts.front();
            dateAttempts.pop_front();
            if (a.time) dialog.timeText = *a.time;
            dialog.idText = a.id;
            if (dialog.Ok(*dialogs_)) return true;
        }
        return false;
    }

    // Mount dialog: the path typed, or nullopt for Cancel.
    std::deque<std::optional<std::string>> mountPaths;
    std::vector<app::MountDialogModel> mountsShown;
    bool RunMountDialog(app::MountDialogModel& dialog) override {
        mountsShown.push_back(dialog);
        if (mountPaths.empty() || !mountPaths.front()) {
            if (!mountPaths.empty()) mountPaths.pop_front();
            return false;
        }
        dialog.path = *mountPaths.front();
        mountPaths.pop_front();
        dialog.Ok();
        return true;
    }

    std::vector<std::string> aboutShown;
    void RunAboutBox(const std::string& version) override { aboutShown.push_back(version); }

    int menusChanged = 0, repaints = 0, busy = 0, maxBusy = 0;
    void MenusChanged() override { ++menusChanged; }
    void Repaint() override { ++repaints; }
    void SetBusy(bool b) override {
        busy += b ? 1 : -1;
        maxBusy = std::max(maxBusy, busy);
    }

    std::vector<std::string> helpShown;
    void ShowHelpFile(const std::string& title, const std::string& path) override {
        helpShown.push_back(title + "|" + path);
    }
    int radioResets = 0;
    void ResetRadioTime() override { ++radioResets; }

private:
    platform::Dialogs* dialogs_;
};

}  // namespace qnr::test
