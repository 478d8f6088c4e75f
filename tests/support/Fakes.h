#pragma once
// Scripted platform fakes for core tests: every message is recorded, every
// question is answered from a script, the clock and identity are fixed.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace qnr::test {

class FakeDialogs final : public platform::Dialogs {
public:
    // Answers are taken in order; when the script is empty a question gets
    // `fallback` and a plain message gets OK.
    void script(std::initializer_list<platform::Answer> answers) {
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }
    void scriptInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    platform::Answer fallback = platform::Answer::Cancel;
    // Runs inside every message, as a nested event loop would (timers ticking
    // while a box is up).
    std::function<void()> whileShown;

    platform::Answer ask(const platform::Message& message) override;
    void beep() override { ++beeps; }
    std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override;

    std::vector<platform::Message> messages;
    std::vector<std::string> inputPrompts;
    int beeps = 0;

    // The texts and captions shown, in order, as "caption|text".
    std::vector<std::string> shown() const;
    void clear() { messages.clear(); inputPrompts.clear(); beeps = 0; }

private:
    std::deque<platform::Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
};

class FakeClock final : public platform::Clock {
public:
    double now = 37360.5;  // 2002-04-14 12:00 local
    std::uint32_t tick = 1000;
    std::uint64_t counter = 123456789;
    platform::TimeZoneInfo zone{300, 0, -60, false, true, "Eastern Standard Time"};

    double localDayNumber() override { return now; }
    std::uint32_t tickMs() override { return tick; }
    std::uint64_t performanceCounter() override { return counter; }
    platform::TimeZoneInfo timeZone() override { return zone; }
};

class FakeIdentity final : public platform::Identity {
public:
    std::string login = "student";
    std::string program = "/nonexistent/program/";
    std::string userData = "/nonexistent/userdata/";

    std::string loginName() override { return login; }
    std::string programFolder() override { return program; }
    std::string userDataLocation() override { return userData; }
    std::string platformName() override { return "Linux"; }
    int platformMajorVersion() override { return 6; }
};

// Records the sounds played; a test ends the current one with finish().
class FakeSound final : public platform::Sound {
public:
    void playFile(const std::string& path, std::function<void()> onEnd) override {
        played.push_back(path);
        current = path;
        onEnd_ = std::move(onEnd);
    }
    void stop() override {
        ++stops;
        current.clear();
        onEnd_ = nullptr;
    }
    bool available() override { return true; }
    // The current file ends by itself.
    void finish() {
        auto f = std::move(onEnd_);
        onEnd_ = nullptr;
        current.clear();
        if (f) f();
    }
    std::vector<std::string> played;
    std::string current;
    int stops = 0;
private:
    std::function<void()> onEnd_;
};

// The real file system, without the machine's removable media; fakes that
// change one or two calls derive from it.
class ForwardingFileSystem : public platform::FileSystem {
public:
    bool exists(const std::string& p) override { return real.exists(p); }
    bool isFolder(const std::string& p) override { return real.isFolder(p); }
    bool isReadOnly(const std::string& p) override { return real.isReadOnly(p); }
    std::optional<std::int64_t> modifiedSeconds(const std::string& p) override { return real.modifiedSeconds(p); }
    platform::ReadResult readFile(const std::string& p, std::size_t n) override { return real.readFile(p, n); }
    int writeFileAtomic(const std::string& p, const platform::Bytes& b) override { return real.writeFileAtomic(p, b); }
    int appendFile(const std::string& p, const platform::Bytes& b) override { return real.appendFile(p, b); }
    int copyFile(const std::string& a, const std::string& b) override { return real.copyFile(a, b); }
    int removeFile(const std::string& p) override { return real.removeFile(p); }
    int makeFolders(const std::string& p) override { return real.makeFolders(p); }
    std::vector<std::string> listFolder(const std::string& f) override { return real.listFolder(f); }
    std::string currentFolder() override { return real.currentFolder(); }
    int setCurrentFolder(const std::string& f) override { return real.setCurrentFolder(f); }
    std::vector<std::string> removableMediaRoots() override { return {}; }

    platform::StdFileSystem real;
};

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }  // ends in "/"
    std::string file(const std::string& name) const { return path_ + name; }
private:
    std::string path_;
};

// Fakes wired together, with the real file system.
struct FakePlatform {
    FakeDialogs dialogs;
    FakeClock clock;
    FakeIdentity identity;
    platform::StdFileSystem files;
    FakeSound sound;
    platform::Services services() {
        platform::Services s;
        s.dialogs = &dialogs;
        s.clock = &clock;
        s.identity = &identity;
        s.files = &files;
        s.sound = &sound;
        return s;
    }
};

std::vector<std::uint8_t> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace qnr::test
