#include "platform/Headless.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace qnr::platform {

namespace {

std::string withoutCarriageReturns(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

}  // namespace

Answer ConsoleDialogs::ask(const Message& message) {
    std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), withoutCarriageReturns(message.text).c_str());
    if (message.buttons == Buttons::OK) return Answer::OK;
    return answer_;
}

double SystemClock::localDayNumber() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    // Days from 1899-12-30 to 1970-01-01 are 25569.
    double localSeconds = static_cast<double>(t) + static_cast<double>(local.tm_gmtoff);
    return 25569.0 + (localSeconds + static_cast<double>(ms) / 1000.0) / 86400.0;
}

std::uint32_t SystemClock::tickMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint64_t SystemClock::performanceCounter() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}

TimeZoneInfo SystemClock::timeZone() {
    TimeZoneInfo z;
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    tzset();
    // POSIX gives the standard offset in `timezone` (seconds west of UT).
    z.biasMinutes = static_cast<int>(::timezone / 60);
    z.standardBiasMinutes = 0;
    z.daylightInForce = local.tm_isdst > 0;
    z.daylightBiasMinutes = z.daylightInForce ? static_cast<int>(-local.tm_gmtoff / 60) - z.biasMinutes : -60;
    z.name = local.tm_zone ? local.tm_zone : "";
    z.known = true;
    return z;
}

std::string SystemIdentity::loginName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    if (const char* u = std::getenv("USER")) return u;
    return "";
}

std::string SystemIdentity::programFolder() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    return FolderOf(path);
}

std::string SystemIdentity::userDataLocation() {
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return WithTrailingSlash(x);
    if (const char* h = std::getenv("HOME"); h && *h) return WithTrailingSlash(h) + ".local/share/";
    return "/tmp/";
}

std::string SystemIdentity::platformName() {
    utsname u{};
    return ::uname(&u) == 0 ? u.sysname : "Unknown";
}

int SystemIdentity::platformMajorVersion() {
    utsname u{};
    return ::uname(&u) == 0 ? std::atoi(u.release) : 0;
}

}  // namespace qnr::platform
