#pragma once
// Starting the two outside programs (spreadsheet, astrometry) once each, and
// the platform-family question the radio timing asks.
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace qnr::app {

// How long a start waits to see whether the program ends at once: a launcher
// (a sandbox, a wrapper) that cannot run the program behind it ends within
// this time with an error.
inline constexpr int QuickEndMs = 1000;

class ExecMod32Obj {
public:
    explicit ExecMod32Obj(platform::Processes& processes) : processes_(processes) {}

    // True only for the remembered program (same path, same case) while its
    // process has not ended; otherwise the program is forgotten.
    bool IsRunning(const std::string& program);
    // Does nothing while the program runs. The arguments travel as a list, so
    // paths with spaces stay whole.
    void Start(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder);

    const std::string& program() const { return program_; }
    bool started() const { return started_; }
    int errorCode() const { return errorCode_; }
    // The program started but ended within QuickEndMs with a non-zero exit
    // code; started() is then false.
    bool endedAtOnce() const { return endedAtOnce_; }
    int exitCode() const { return exitCode_; }

private:
    platform::Processes& processes_;
    std::string program_;
    std::unique_ptr<platform::Process> process_;
    bool started_ = false;
    int errorCode_ = 0;
    bool endedAtOnce_ = false;
    int exitCode_ = 0;
};

// The older consumer family of one platform: versions 3.95, 4.10 and 4.90
// (minor given in hundredths). Every other platform answers false.
bool IsOlderConsumerVersion(const std::string& platformName, int major, int minor);
bool IsOlderConsumerPlatform(platform::Identity& identity);

// The reasons the launcher messages append to "Code = " + code.
std::string StartFailureReason(int code, bool spreadsheet);
std::string AssociationFailureReason(int code);

}  // namespace qnr::app
