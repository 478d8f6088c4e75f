#include "app/APIUtils.h"

namespace qnr::app {

bool ExecMod32Obj::IsRunning(const std::string& program) {
    if (!program_.empty() && program_ == program && process_ && process_->running() &&
        process_->exitCode() == platform::StillActive)
        return true;
    process_.reset();
    program_.clear();
    return false;
}

void ExecMod32Obj::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder) {
    if (IsRunning(program)) return;
    program_ = program;
    int code = 0;
    process_ = processes_.start(program, arguments, folder, code);
    started_ = process_ != nullptr;
    errorCode_ = started_ ? 0 : code;
    endedAtOnce_ = false;
    exitCode_ = 0;
    if (started_ && process_->endsWithin(QuickEndMs) && process_->exitCode() != 0) {
        started_ = false;
        endedAtOnce_ = true;
        exitCode_ = process_->exitCode();
    }
}

bool IsOlderConsumerVersion(const std::string& platformName, int major, int minor) {
    if (platformName != "Windows") return false;
    return (major == 3 && minor == 95) || (major == 4 && (minor == 10 || minor == 90));
}

bool IsOlderConsumerPlatform(platform::Identity& identity) {
    // The identity knows no minor version; only that family would need one.
    return IsOlderConsumerVersion(identity.platformName(), identity.platformMajorVersion(), 0);
}

std::string StartFailureReason(int code, bool spreadsheet) {
    switch (code) {
        case 2: return " - File Not Found";
        case 3: return " - Path Not Found";
        case 4: return " - Too Many Open Files";
        case 5: return " - Access Denied";
        case 8: return " - Not Enough Memory";
        case 11: return " - Program Has Incorrect Format";
        case 14: return " - Out of Memory";
        case 267: return spreadsheet ? " - Directory Name is Invalid" : "";
        default: return "";
    }
}

std::string AssociationFailureReason(int code) {
    switch (code) {
        case 0: return " - Out of Memory or Resources";
        case 2: return " - File Not Found";
        case 3: return " - Path Not Found";
        case 11: return " - Error in Associated .EXE File";
        case 31: return " - No Association for Specified File Type";
        default: return "";
    }
}

}  // namespace qnr::app
