#include "app/Login.h"

#include <cmath>
#include <cstdint>

namespace qnr::app {

namespace {

std::string Cut(const std::string& s, std::size_t n) { return s.substr(0, n); }

bool UnsafeInFolderName(unsigned char c) {
    return c <= 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

// The log shows hundredths of a second. A moment is rounded to them once,
// before it is split into days and a time of day: rounding the seconds after
// the split would let the last milliseconds of a day read "24:00:00.00"
// beside the earlier date, or an elapsed day read as 24 hours.
constexpr std::int64_t HundredthsPerDay = 8640000;

struct RoundedSplit {
    std::int64_t days = 0;
    TimeOfDay time;
};

RoundedSplit SplitRounded(Extended days) {
    const auto all = static_cast<std::int64_t>(std::nearbyint(days * HundredthsPerDay));
    RoundedSplit r;
    r.days = all / HundredthsPerDay;
    std::int64_t rest = all % HundredthsPerDay;
    if (rest < 0) {
        rest += HundredthsPerDay;
        --r.days;
    }
    r.time.hour = static_cast<std::uint8_t>(rest / 360000);
    r.time.minute = static_cast<std::uint8_t>(rest / 6000 % 60);
    r.time.seconds = static_cast<Single>(static_cast<double>(rest % 6000) / 100.0);
    return r;
}

std::string LogTimeText(const TimeOfDay& t) { return t.TimeStr(2, ":", ":", ""); }

// The base letters of the Latin-1 letters from U+00C0 on; "_" for the two
// signs among them.
constexpr const char* FoldedLetters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "_", "O", "U", "U", "U", "U", "Y", "TH", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "_", "o", "u", "u", "u", "u", "y", "th", "y",
};

// The core's texts are Latin-1 while the file dialogs spell paths in UTF-8:
// an accented letter would give the folder two different names. Plain ASCII
// is the same name to both.
std::string FoldedToAscii(const std::string& text) {
    std::string folded;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) folded += ch;
        else if (c >= 0xC0) folded += FoldedLetters[c - 0xC0];
        else folded += '_';
    }
    return folded;
}

}  // namespace

std::string UserFolderName(const std::string& name1) {
    std::string folder;
    auto space = name1.rfind(' ');
    if (space == std::string::npos)
        folder = name1.substr(0, 8);
    else
        folder = Cut(name1.substr(0, 1) + name1.substr(space + 1), 8);
    folder = Cut(FoldedToAscii(folder), 8);
    // The name comes from free text and becomes a path component: nothing in
    // it may leave the users folder or fail to be created.
    for (char& c : folder)
        if (UnsafeInFolderName(static_cast<unsigned char>(c))) c = '_';
    if (!folder.empty() && folder[0] == '.') folder[0] = '_';
    if (folder.empty()) folder = "_";
    return folder;
}

bool LoginDialogModel::Ok(LoginRecord& record, platform::Dialogs& dialogs) const {
    for (std::size_t i = 0; i < 4; ++i) record.names[i] = Cut(students[i], 40);
    record.table = Cut(table, 4);
    if (!record.names[0].empty()) {
        platform::Answer a = dialogs.ask({"Have You Finished Logging In?", "Login Completed?",
                                          platform::Buttons::YesNo, platform::Icon::Question});
        if (a != platform::Answer::Yes) return false;
        record.userFolder = UserFolderName(record.names[0]);
        return true;
    }
    platform::Answer a = dialogs.ask({"You Didn't Enter Anything!", "No Entry!", platform::Buttons::OKCancel,
                                      platform::Icon::Warning});
    if (a != platform::Answer::OK) return false;
    record.names[0] = NotLoggedInName;
    record.userFolder = "NOLOG";
    return true;
}

std::string LogDate(const ObsDateTime& t) {
    ObsDateTime day;
    day.SetDayNumber(static_cast<double>(SplitRounded(t.value).days));
    return day.NumericDateStr();
}

std::string LogTime(const ObsDateTime& t) { return LogTimeText(SplitRounded(t.value).time); }

LogFileObj::LogFileObj(platform::Services& services, const bool& writeEnabled)
    : services_(services), writeEnabled_(writeEnabled) {}

void LogFileObj::Create(const std::string& programId, const std::string& fileName, const LoginRecord* record) {
    programId_ = programId;
    fileName_ = fileName;
    record_ = record;
    clock_.zone = 0;
    clock_.SetNow(*services_.clock);
    start_ = clock_.JulianDate();
    loginWritten_ = false;
    logoutWritten_ = false;
    lastResult_ = 0;
}

bool LogFileObj::Enabled() const { return writeEnabled_ && record_ != nullptr && !fileName_.empty(); }

std::string LogFileObj::NameLines(bool allNames) const {
    std::string lines = "Name1: " + Cut(record_->names[0], 40) + "\r\n";
    if (allNames)
        for (std::size_t i = 1; i < 4; ++i)
            if (!record_->names[i].empty())
                lines += "Name" + std::to_string(i + 1) + ": " + Cut(record_->names[i], 40) + "\r\n";
    if (!record_->table.empty()) lines += "Table: " + Cut(record_->table, 4) + "\r\n";
    return lines;
}

std::string LogFileObj::ElapsedLine() {
    const RoundedSplit elapsed = SplitRounded(clock_.JulianDate() - start_);
    std::string line = "Elapsed Time: ";
    if (elapsed.days != 0) line += std::to_string(elapsed.days) + "Days, ";
    return line + LogTimeText(elapsed.time) + "\r\n";
}

void LogFileObj::Append(const std::string& lines) {
    lastResult_ = services_.files->appendFile(fileName_, platform::Bytes(lines.begin(), lines.end()));
}

void LogFileObj::WriteLogin() {
    if (!Enabled()) return;
    std::string e = "Login: " + programId_ + "\r\n";
    e += "Date: " + LogDate(clock_) + "\r\n";
    e += "Time: " + LogTime(clock_) + "\r\n";
    e += NameLines(true);
    e += "EndLogin: " + programId_ + "\r\n";
    e += "**********\r\n";
    Append(e);
    if (lastResult_ == 0) loginWritten_ = true;
}

void LogFileObj::WriteLogout() {
    if (!Enabled()) return;
    clock_.SetNow(*services_.clock);
    std::string e = "Logout: " + programId_ + "\r\n";
    e += "Date: " + LogDate(clock_) + "\r\n";
    e += "Time: " + LogTime(clock_) + "\r\n";
    e += NameLines(true);
    e += ElapsedLine();
    e += "EndLogout: " + programId_ + "\r\n";
    e += "**********\r\n**********\r\n";
    Append(e);
    if (lastResult_ == 0) logoutWritten_ = true;
}

void LogFileObj::WriteComponent(const std::string& text) {
    if (!Enabled()) return;
    clock_.SetNow(*services_.clock);
    std::string e = "Component: " + text + "\r\n";
    e += "Date: " + LogDate(clock_) + "\r\n";
    e += "Time: " + LogTime(clock_) + "\r\n";
    e += NameLines(false);
    e += ElapsedLine();
    e += "**********\r\n";
    Append(e);
}

}  // namespace qnr::app
