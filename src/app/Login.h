#pragma once
// The students' login record, the login dialog's logic and the user log.
#include <array>
#include <string>

#include "astro/DateTime.h"
#include "platform/Services.h"

namespace qnr::app {

inline constexpr const char* NotLoggedInName = "*** Student Did Not Log In Properly ***";

struct LoginRecord {
    std::array<std::string, 4> names;  // at most 40 characters each
    std::string table;                 // at most 4 characters
    std::string userFolder;            // at most 8 characters, a single path component
};

// The folder name of a group: the first character of name 1 and the text
// after its last space, at most 8 characters; its first 8 without a space.
// Accented letters become their base letters ("M\xFCller" gives "Muller");
// other characters that cannot stand in one path component become "_".
std::string UserFolderName(const std::string& name1);

// The login dialog "Student Accounting" without its window.
class LoginDialogModel {
public:
    explicit LoginDialogModel(const std::string& labTable) { table = labTable.substr(0, 4); }

    std::array<std::string, 4> students;  // Stud1..Stud4
    std::string table;                    // LabTbl

    // OK: fills the record and returns true when the dialog closes.
    bool Ok(LoginRecord& record, platform::Dialogs& dialogs) const;
};

// Appends the students' activity to the user log ("\r\n" line ends).
class LogFileObj {
public:
    // writeEnabled is the Write Log File option of the working copy; it is read
    // at each entry, so switching it takes effect at once.
    LogFileObj(platform::Services& services, const bool& writeEnabled);

    void Create(const std::string& programId, const std::string& fileName, const LoginRecord* record);

    void WriteLogin();
    void WriteLogout();
    void WriteComponent(const std::string& text);

    bool loginWritten() const { return loginWritten_; }
    bool logoutWritten() const { return logoutWritten_; }
    int lastResult() const { return lastResult_; }
    const std::string& fileName() const { return fileName_; }

private:
    bool Enabled() const;
    std::string NameLines(bool allNames) const;
    std::string ElapsedLine();
    void Append(const std::string& lines);

    platform::Services& services_;
    const bool& writeEnabled_;
    std::string programId_;
    std::string fileName_;
    const LoginRecord* record_ = nullptr;
    ObsDateTime clock_;
    Extended start_ = 0;
    bool loginWritten_ = false;
    bool logoutWritten_ = false;
    int lastResult_ = 0;
};

// The date and time texts of the log: "04-14-2002" and "14:05:09.37" (" 9:05:09.37"),
// both of the local moment rounded to the hundredth of a second.
std::string LogDate(const ObsDateTime& t);
std::string LogTime(const ObsDateTime& t);

}  // namespace qnr::app
