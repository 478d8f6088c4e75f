#include "tool/CommandArgs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "astro/DateTime.h"

namespace qnr::tool {

// 17 significant digits, shortest of fixed and exponent form ("%.17Lg").
std::string Number(Extended v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    return std::string(buf, r.ptr);
}

std::string ShortestSingle(Single v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string DegreesText(Extended radians) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, radians * RadToDeg, std::chars_format::fixed, 9);
    std::string s(buf, r.ptr);
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    if (s == "-0.0") s = "0.0";
    return s;
}

std::optional<Extended> ParseNumber(const std::string& text) {
    std::string_view s(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    Extended v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::string> Reader::text(const std::string& name, bool required) {
    auto v = args_.option(name);
    if (args_.missingValue() && !v && !failed_) fail(name + " needs a value");
    if (!v && required) fail("needs " + name);
    return v;
}

std::optional<Extended> Reader::number(const std::string& name, bool required) {
    auto t = text(name, required);
    if (!t) return std::nullopt;
    auto v = ParseNumber(*t);
    if (!v) fail(name + " needs a number, got \"" + *t + "\"");
    return v;
}

std::optional<Extended> Reader::number(const std::string& name, bool required, double low, double high) {
    auto t = text(name, required);
    if (!t) return std::nullopt;
    auto v = ParseNumber(*t);
    if (!v || *v < low || *v > high) {
        auto shortest = [](double x) {
            char buf[64];
            auto r = std::to_chars(buf, buf + sizeof buf, x);
            return std::string(buf, r.ptr);
        };
        fail(name + " needs a number from " + shortest(low) + " to " + shortest(high) + ", got \"" + *t + "\"");
        return std::nullopt;
    }
    return v;
}

Extended Reader::numberOr(const std::string& name, Extended fallback) {
    auto v = number(name, false);
    return v ? *v : fallback;
}

std::optional<Vector3> Reader::vector(const std::string& name) {
    auto t = text(name, true);
    if (!t) return std::nullopt;
    std::vector<Extended> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = t->find(',', start);
        auto v = ParseNumber(t->substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!v) break;
        parts.push_back(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    bool whole = parts.size() == 3 && std::count(t->begin(), t->end(), ',') == 2;
    if (!whole) {
        fail(name + " needs three numbers X,Y,Z, got \"" + *t + "\"");
        return std::nullopt;
    }
    return Vector3{parts[0], parts[1], parts[2]};
}

std::uint8_t Reader::mode() {
    auto v = text("--mode", false);
    if (!v) return 0;
    if (*v == "0" || *v == "1" || *v == "2") return static_cast<std::uint8_t>((*v)[0] - '0');
    fail("--mode needs 0 (geometric), 1 (apparent) or 2 (astrometric), got \"" + *v + "\"");
    return 0;
}

void Reader::fail(const std::string& why) {
    if (failed_) return;
    failed_ = true;
    ctx_.err << "qnrtool: " << command_ << ": " << why << "\n";
}

bool Reader::ok() {
    if (!failed_) {
        auto extra = args_.leftoverOptions();
        if (!extra.empty()) fail("unknown option " + extra.front());
    }
    if (!failed_ && !args_.positionals().empty()) fail("unexpected argument \"" + args_.positionals().front() + "\"");
    return !failed_;
}

void Line(std::ostream& out, const char* key, Extended v) { out << key << " = " << Number(v) << "\n"; }

std::string AbsolutePath(const std::string& path, platform::FileSystem& files) {
    if (!path.empty() && path[0] == '/') return path;
    return files.currentFolder() + path;
}

std::optional<std::string> Utf8ToLatin1(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string Latin1ToUtf8(const std::string& latin1) {
    std::string out;
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool ParseDate(const std::string& s, int& y, int& m, int& d) {
    // [-]YYYY-MM-DD
    std::size_t dash2 = s.rfind('-');
    std::size_t dash1 = dash2 == std::string::npos || dash2 == 0 ? std::string::npos : s.rfind('-', dash2 - 1);
    if (dash1 == std::string::npos || dash1 == 0) return false;
    auto whole = [](std::string_view t, int& v) {
        if (t.empty()) return false;
        auto r = std::from_chars(t.data(), t.data() + t.size(), v);
        return r.ec == std::errc() && r.ptr == t.data() + t.size();
    };
    std::string_view all(s);
    return whole(all.substr(0, dash1), y) && whole(all.substr(dash1 + 1, dash2 - dash1 - 1), m) &&
           all.size() - dash2 - 1 == 2 && whole(all.substr(dash2 + 1), d) && m >= 1 && d >= 1 && IsValidDate(y, m, d);
}

// hh:mm:ss[.fff] as seconds of the day.
std::optional<Extended> ParseTime(const std::string& s) {
    if (s.size() < 8 || s[2] != ':' || s[5] != ':') return std::nullopt;
    int h = 0, m = 0;
    auto hr = std::from_chars(s.data(), s.data() + 2, h);
    auto mr = std::from_chars(s.data() + 3, s.data() + 5, m);
    if (hr.ptr != s.data() + 2 || mr.ptr != s.data() + 5) return std::nullopt;
    if (s[6] < '0' || s[6] > '9') return std::nullopt;
    auto sec = ParseNumber(s.substr(6));
    if (!sec || h < 0 || h > 23 || m < 0 || m > 59 || *sec < 0 || *sec >= 60) return std::nullopt;
    return h * 3600 + m * 60 + *sec;
}

}  // namespace qnr::tool
