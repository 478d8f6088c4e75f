#pragma once
// Platform services for programs without windows (qnrtool): messages go to
// standard error, questions take a fixed answer, the clock and identity come
// from the C and POSIX libraries.
#include "platform/Services.h"

namespace qnr::platform {

class ConsoleDialogs final : public Dialogs {
public:
    // Every question is answered with `answer` (for example No, so that nothing
    // irreversible happens without a person).
    explicit ConsoleDialogs(Answer answer = Answer::No) : answer_(answer) {}
    Answer ask(const Message& message) override;
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&,
                                         const std::string&) override { return std::nullopt; }
private:
    Answer answer_;
};

class SystemClock final : public Clock {
public:
    double localDayNumber() override;
    std::uint32_t tickMs() override;
    std::uint64_t performanceCounter() override;
    TimeZoneInfo timeZone() override;
};

class SystemIdentity final : public Identity {
public:
    std::string loginName() override;
    std::string programFolder() override;
    std::string userDataLocation() override;
    std::string platformName() override;
    int platformMajorVersion() override;
};

// A full set for a command-line program; the unused services stay null.
struct HeadlessServices {
    ConsoleDialogs dialogs;
    SystemClock clock;
    SystemIdentity identity;
    StdFileSystem files;
    Services services() {
        Services s;
        s.dialogs = &dialogs;
        s.clock = &clock;
        s.identity = &identity;
        s.files = &files;
        return s;
    }
};

}  // namespace qnr::platform
