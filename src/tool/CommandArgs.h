#pragma once
// Reading qnrtool's command words: numbers at full extended precision,
// ISO dates and clock times, and the "key = value" output lines. Shared by
// every subsystem's commands so they read and print alike.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "astro/MathStd.h"
#include "astro/Types.h"
#include "platform/FileSystem.h"
#include "tool/Registry.h"

namespace qnr::tool {

// 17 significant digits, shortest of fixed and exponent form ("%.17Lg").
std::string Number(Extended v);
// An extended number with an optional leading "+"; nullopt for anything else.
std::optional<Extended> ParseNumber(const std::string& text);
// [-]YYYY-MM-DD, a valid date.
bool ParseDate(const std::string& s, int& y, int& m, int& d);
// hh:mm:ss[.fff] as seconds of the day.
std::optional<Extended> ParseTime(const std::string& s);
void Line(std::ostream& out, const char* key, Extended v);
// The shortest text that reads back as the same single.
std::string ShortestSingle(Single v);
// Radians as degrees with nine decimals, trailing zeros dropped: values given
// to seven decimals show exactly, without the binary noise.
std::string DegreesText(Extended radians);

// A command-line path: absolute as given, else from the current folder.
std::string AbsolutePath(const std::string& path, platform::FileSystem& files);
// The files hold Latin-1; the terminal speaks UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);
// nullopt when the text holds a character outside Latin-1 (or is not UTF-8).
std::optional<std::string> Utf8ToLatin1(const std::string& utf8);

// Collects the options of one command; the first problem wins and is
// reported once, with the usage error exit code.
class Reader {
public:
    Reader(Arguments& args, Context& ctx, std::string command)
        : args_(args), ctx_(ctx), command_(std::move(command)) {}

    std::optional<std::string> text(const std::string& name, bool required);
    std::optional<Extended> number(const std::string& name, bool required);
    // A number within [low, high]; outside it is a usage error too.
    std::optional<Extended> number(const std::string& name, bool required, double low, double high);
    Extended numberOr(const std::string& name, Extended fallback);
    std::optional<Vector3> vector(const std::string& name);
    // --mode 0 (geometric), 1 (apparent) or 2 (astrometric).
    std::uint8_t mode();
    bool flag(const std::string& name) { return args_.flag(name); }
    void fail(const std::string& why);
    // Unknown options and stray words are usage errors too.
    bool ok();
    bool failed() const { return failed_; }
    std::ostream& out() { return ctx_.out; }

private:
    Arguments& args_;
    Context& ctx_;
    std::string command_;
    bool failed_ = false;
};

}  // namespace qnr::tool
