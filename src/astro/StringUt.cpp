#include "astro/StringUt.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

namespace qnr {

namespace {

constexpr int MaxSignificant = 18;

std::string ToChars(Extended x, std::chars_format fmt, int precision) {
    // Fixed output is only asked for up to 18 integer digits, so this is ample.
    std::string buf(static_cast<std::size_t>(precision) + 64, '\0');
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x, fmt, precision);
    buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
    return buf;
}

// A rounded value that shows only zeros carries no sign: "0.00", not "-0.00".
void DropNegativeZero(std::string& s) {
    if (s.empty() || s[0] != '-') return;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == 'E' || c == 'e') break;
        if (c >= '1' && c <= '9') return;
    }
    s.erase(0, 1);
}

std::string NonFinite(Extended x) {
    if (std::isnan(x)) return "NAN";
    return x < 0 ? "-INF" : "INF";
}

// The significant digits of |x| rounded to n digits and the decimal exponent
// of the first one.
void Significant(Extended x, int n, std::string& digits, int& exponent) {
    std::string s = ToChars(std::fabs(x), std::chars_format::scientific, n - 1);
    std::size_t e = s.find('e');
    digits.clear();
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.') digits += s[i];
    exponent = std::atoi(s.c_str() + e + 1);
}

std::string ExponentForm(Extended x, int p) {
    std::string s = ToChars(x, std::chars_format::scientific, p - 1);
    std::size_t e = s.find('e');
    if (e != std::string::npos) s[e] = 'E';
    DropNegativeZero(s);
    return s;
}

std::string TwoDigits(std::int32_t n) { return ZeroPadded(n, 2); }

// "0" in front of a seconds or minutes text whose integer part has one digit.
std::string PadTwoIntegerDigits(std::string s) {
    std::size_t dot = s.find('.');
    std::size_t intDigits = dot == std::string::npos ? s.size() : dot;
    return intDigits < 2 ? "0" + s : s;
}

std::string WholeField(std::int8_t sign, std::int32_t whole) {
    std::string s = (sign < 0 ? "-" : " ") + std::to_string(whole);
    while (s.size() < 4) s.insert(s.begin(), ' ');
    return s;
}

// Seconds of HMSStr and DMSStr: two integer digits, then the decimals.
std::string SecondsField(Extended seconds, int d) {
    std::string s = FixedStr(seconds, d);
    const std::size_t width = d == 0 ? 2 : static_cast<std::size_t>(d) + 3;
    while (s.size() < width) s.insert(s.begin(), '0');
    return s;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Removes leading spaces and delimiters, the field up to the next delimiter
// and that delimiter.
std::string TakeField(std::string& text, char delim) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == delim)) ++i;
    std::size_t j = text.find(delim, i);
    std::string field = text.substr(i, j == std::string::npos ? std::string::npos : j - i);
    text.erase(0, j == std::string::npos ? text.size() : j + 1);
    return field;
}

// A leading "+" is allowed, but not in front of another sign.
bool StripPlus(std::string_view& s) {
    if (s.empty() || s.front() != '+') return true;
    s.remove_prefix(1);
    return !s.empty() && s.front() != '+' && s.front() != '-';
}

std::optional<Extended> ParseReal(std::string_view s) {
    s = Trimmed(s);
    if (!StripPlus(s) || s.empty()) return std::nullopt;
    // Digits, point, exponent and signs only: no "inf", "nan" or hex forms.
    if (s.find_first_not_of("0123456789.eE+-") != std::string_view::npos) return std::nullopt;
    Extended v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<std::int32_t> ParseInt(std::string_view s) {
    s = Trimmed(s);
    if (!StripPlus(s) || s.empty()) return std::nullopt;
    std::int32_t v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, 10);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

}  // namespace

AngleParts SplitAngleRounded(Extended v, int d) {
    AngleParts p = SplitAngle(v);
    // Seconds lie below 60, so the only text starting "60" is the rounded 60.
    if (FixedStr(p.seconds, std::max(d, 0)).starts_with("60")) {
        p.seconds = 0;
        if (++p.minutes == 60) {
            p.minutes = 0;
            ++p.whole;
        }
    }
    return p;
}

std::string SexaStr(Extended v, int d, const std::string& sep1, const std::string& sep2,
                    const std::string& sep3) {
    d = std::max(d, 0);
    AngleParts p = SplitAngleRounded(v, d);
    while (p.whole >= 360) p.whole -= 360;
    return WholeField(p.sign, p.whole) + sep1 + TwoDigits(p.minutes) + sep2 +
           PadTwoIntegerDigits(FixedStr(p.seconds, d)) + sep3;
}

std::string DegMinStr(Extended v, int d, const std::string& sep1, const std::string& sep2) {
    d = std::max(d, 0);
    AngleParts p = SplitAngle(v);
    Extended m = p.minutes + p.seconds / 60;
    std::string minutes = FixedStr(m, d);
    if (minutes.starts_with("60")) {
        m = 0;
        ++p.whole;
        minutes = FixedStr(m, d);
    }
    while (p.whole > 359) p.whole -= 360;
    return WholeField(p.sign, p.whole) + sep1 + PadTwoIntegerDigits(minutes) + sep2;
}

std::string HMSStr(Extended v, int d, bool units) {
    d = std::max(d, 0);
    AngleParts p = SplitAngleRounded(v, d);
    std::string h = TwoDigits(p.whole), m = TwoDigits(p.minutes), s = SecondsField(p.seconds, d);
    if (units) return h + "h " + m + "m " + s + "s";
    return h + " " + m + " " + s;
}

std::string DMSStr(Extended v, int d, bool units) {
    d = std::max(d, 0);
    AngleParts p = SplitAngleRounded(v, d);
    std::string sign = p.sign < 0 ? "-" : "+";
    std::string w = TwoDigits(p.whole), m = TwoDigits(p.minutes), s = SecondsField(p.seconds, d);
    if (units) return sign + w + "\xB0 " + m + "' " + s + "\"";
    return sign + w + " " + m + " " + s;
}

std::string FixedStr(Extended x, int d) {
    if (!std::isfinite(x)) return NonFinite(x);
    d = std::max(d, 0);
    std::string s;
    if (x == 0) {
        s = ToChars(0.0L, std::chars_format::fixed, d);
        return s;
    }
    std::string digits;
    int e = 0;
    Significant(x, MaxSignificant, digits, e);
    if (e + 1 > MaxSignificant) {
        // Too many integer digits for the precision: exponent form, as short as it goes.
        s = ExponentForm(x, MaxSignificant);
        std::size_t ePos = s.find('E');
        std::size_t end = ePos;
        while (end > 0 && s[end - 1] == '0') --end;
        if (end > 0 && s[end - 1] == '.') --end;
        return s.erase(end, ePos - end);
    }
    if (e + 1 + d <= MaxSignificant) {
        s = ToChars(x, std::chars_format::fixed, d);
    } else {
        // More digits asked for than the precision holds: zeros after the 18th.
        std::string intPart, fracPart;
        if (e >= 0) {
            intPart = digits.substr(0, static_cast<std::size_t>(e) + 1);
            fracPart = digits.substr(static_cast<std::size_t>(e) + 1);
        } else {
            intPart = "0";
            fracPart = std::string(static_cast<std::size_t>(-e - 1), '0') + digits;
        }
        fracPart.resize(static_cast<std::size_t>(d), '0');
        s = (x < 0 ? "-" : "") + intPart + (d > 0 ? "." + fracPart : "");
    }
    DropNegativeZero(s);
    return s;
}

std::string TrimFixedStr(Extended x, int d) {
    std::string s = FixedStr(x, d);
    std::size_t dot = s.find('.');
    // Without a point (d = 0) the zeros belong to the integer; in the
    // exponent form they belong to the exponent.
    if (dot == std::string::npos || s.find('E') != std::string::npos) return s;
    while (s.size() > dot + 2 && s.back() == '0') s.pop_back();
    return s;
}

std::string SciStr(Extended x, int p) {
    if (!std::isfinite(x)) return NonFinite(x);
    return ExponentForm(x, std::clamp(p, 1, MaxSignificant));
}

bool SameToTwoDecimals(const std::string& a, const std::string& b) {
    auto cut = [](const std::string& s) {
        std::size_t dot = s.find('.');
        return dot == std::string::npos ? s : s.substr(0, dot + 3);
    };
    return cut(a) == cut(b);
}

Expected<Extended> NextRealField(std::string& text, char delim) {
    std::string field = TakeField(text, delim);
    if (auto v = ParseReal(field)) return *v;
    return Fail("'" + field + "' is not a valid floating point value");
}

Expected<std::int32_t> NextIntField(std::string& text, char delim) {
    std::string field = TakeField(text, delim);
    if (auto v = ParseInt(field)) return *v;
    return Fail("'" + field + "' is not a valid integer value");
}

std::string NextQuotedField(std::string& text, char delim) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == delim)) ++i;
    if (i >= text.size()) {
        text.clear();
        return {};
    }
    const char quote = text[i];
    std::size_t close = text.find(quote, i + 1);
    if (close == std::string::npos) {
        std::string field = text.substr(i + 1);
        text.clear();
        return field;
    }
    std::string field = text.substr(i + 1, close - i - 1);
    std::size_t end = close + 1;
    // Only a delimiter goes with the field; anything else is the next field's.
    if (end < text.size() && text[end] == delim) ++end;
    text.erase(0, end);
    return field;
}

Expected<Extended> TimeTextToDayFraction(const std::string& text) {
    std::string t(Trimmed(text));
    // The day-half marker is taken off first so that "5:30 PM" reads too.
    bool pm = false, am = false;
    if (t.size() >= 2) {
        std::string tail = t.substr(t.size() - 2);
        for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        pm = tail == "PM";
        am = tail == "AM";
        if (pm || am) t = std::string(Trimmed(std::string_view(t).substr(0, t.size() - 2)));
    }
    auto h = NextRealField(t, ':');
    if (!h) return Fail(h.error());
    Extended hours = *h, minutes = 0, seconds = 0;
    if (!Trimmed(t).empty()) {
        auto m = NextRealField(t, ':');
        if (!m) return Fail(m.error());
        minutes = *m;
    }
    if (!Trimmed(t).empty()) {
        auto s = NextRealField(t, ' ');
        if (!s) return Fail(s.error());
        seconds = *s;
    }
    // 12 AM is midnight and 12 PM noon.
    if ((am || pm) && hours >= 12 && hours < 13) hours -= 12;
    if (pm) hours += 12;
    return (hours + (minutes + seconds / 60) / 60) / 24;
}

std::string IOErrorText(int code) {
    switch (code) {
        case 2: return "File Not Found!";
        case 3: return "Path Not Found!";
        case 4: return "Too Many Open Files!";
        case 5: return "File Access Denied!";
        case 100: return "EOF!";
        case 101: return "Disk Full!";
        case 106: return "Invalid Input!";
        default: return "IOResult = " + std::to_string(code);
    }
}

void LineSplitter::Init(const std::string& text, int width) {
    rest_ = text;
    // A width below 1 could never make progress.
    width_ = std::max(width, 1);
    done_ = false;
}

std::string LineSplitter::NextLine() {
    if (done_) return {};
    const std::size_t w = static_cast<std::size_t>(width_);
    if (rest_.size() <= w) {
        done_ = true;
        return std::exchange(rest_, std::string());
    }
    // Positions are 1-based here: the break is the last space at or before the width.
    std::size_t bp = w;
    while (bp > 0 && rest_[bp - 1] != ' ') --bp;
    std::string line;
    if (bp == 0) {
        // One word longer than the width: cut it at the width.
        line = rest_.substr(0, w);
        bp = w;
    } else {
        line = rest_.substr(0, bp);
    }
    if (bp == w) {
        // Spaces right after a break at the width start no line of their own.
        while (bp < rest_.size() && rest_[bp] == ' ') ++bp;
    }
    rest_.erase(0, bp);
    return line;
}

std::string ZeroPadded(std::int64_t n, std::size_t width) {
    std::string s = std::to_string(n < 0 ? -n : n);
    if (s.size() < width) s.insert(0, width - s.size(), '0');
    return n < 0 ? "-" + s : s;
}

}  // namespace qnr
