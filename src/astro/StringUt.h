#pragma once
// Number and sexagesimal texts, field-by-field parsing of text lines, the
// file-error texts and a word wrapper. Every text uses "." as the decimal
// separator whatever the locale.
#include <cstdint>
#include <string>

#include "astro/Expected.h"
#include "astro/MathStd.h"
#include "astro/Types.h"

namespace qnr {

// SplitAngle, with the seconds carried into the minutes (and the minutes into
// the whole part) when FixedStr(seconds, d) would show 60.
AngleParts SplitAngleRounded(Extended v, int d);

// Whole part right-aligned in 4 characters with its sign (or a space), 2-digit
// minutes, seconds with d decimals and 2 integer digits; whole wraps below 360.
std::string SexaStr(Extended v, int d, const std::string& sep1, const std::string& sep2,
                    const std::string& sep3);
// Whole part as in SexaStr, then decimal minutes with d decimals.
std::string DegMinStr(Extended v, int d, const std::string& sep1, const std::string& sep2);
// "05h 07m 09.3s" with units, "05 07 09.3" without; hours are not wrapped.
std::string HMSStr(Extended v, int d, bool units);
// "+05\xB0 07' 09.3\"" with units, "+05 07 09.3" without.
std::string DMSStr(Extended v, int d, bool units);

// Fixed notation with d decimals, at most 18 significant digits (zeros after
// them); an integer part of more than 18 digits gives the exponent form.
std::string FixedStr(Extended x, int d);
// FixedStr without trailing zeros, keeping one digit after the ".".
std::string TrimFixedStr(Extended x, int d);
// p significant digits (1-18), "E", the exponent's sign and at least 2 digits.
std::string SciStr(Extended x, int p);
// The two texts agree up to 2 characters after their first ".".
bool SameToTwoDecimals(const std::string& a, const std::string& b);

// Each consumes the head of `text`: leading spaces and delimiters, the field
// and one delimiter after it. The field is consumed even when it is not a number.
Expected<Extended> NextRealField(std::string& text, char delim);
Expected<std::int32_t> NextIntField(std::string& text, char delim);
// The first character after the skipped spaces and delimiters is the quote;
// the field runs to the next quote (or the end).
std::string NextQuotedField(std::string& text, char delim);
// "h:m:s" with an optional trailing "AM"/"PM" as a fraction of a day; a
// missing minutes or seconds part counts 0.
Expected<Extended> TimeTextToDayFraction(const std::string& text);

// The text every file-handling window shows for an I/O result code.
std::string IOErrorText(int code);

// Wraps a text into lines of at most `width` characters, breaking at spaces.
class LineSplitter {
public:
    void Init(const std::string& text, int width);
    std::string NextLine();
    bool done() const { return done_; }

private:
    std::string rest_;
    int width_ = 1;
    bool done_ = true;
};

// n with "0"s in front to width digits, the sign before them: 7 -> "07".
std::string ZeroPadded(std::int64_t n, std::size_t width);

}  // namespace qnr
