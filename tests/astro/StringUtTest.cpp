#include "astro/StringUt.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qnr {
namespace {

// 5h 07m 09.3s (or 5 deg 07' 09.3") and 5 07 05.27 as decimal values.
const Extended V050709_3 = 5 + 7 / 60.0L + 9.3L / 3600;
const Extended V050705_27 = 5 + 7 / 60.0L + 5.27L / 3600;

TEST(SplitAngleRounded, CarriesWhenTheShownSecondsReachSixty) {
    struct Row { Extended v; int d; int whole, minutes; Extended seconds; };
    const Row rows[] = {
        {10.9999999L, 1, 11, 0, 0},       // 10 59 59.99964 shows as 60.0
        {10.5L + 59.94L / 3600, 1, 10, 30, 59.94L},  // 59.9 stays
        {10.5L + 59.96L / 3600, 1, 10, 31, 0},       // 60.0 carries into the minutes only
        {359.99999L, 0, 360, 0, 0},       // wrapping is the callers' business
    };
    for (const auto& r : rows) {
        AngleParts p = SplitAngleRounded(r.v, r.d);
        EXPECT_EQ(p.whole, r.whole) << static_cast<double>(r.v);
        EXPECT_EQ(p.minutes, r.minutes) << static_cast<double>(r.v);
        EXPECT_NEAR(static_cast<double>(p.seconds), static_cast<double>(r.seconds), 1e-6);
    }
}

TEST(SexagesimalText, FieldsAndCarries) {
    struct Row { std::string got, want; };
    const Row rows[] = {
        // Hours are not wrapped, and the carry runs through the minutes.
        {HMSStr(23.99999L, 1, true), "24h 00m 00.0s"},
        {HMSStr(V050709_3, 1, true), "05h 07m 09.3s"},
        {HMSStr(V050709_3, 1, false), "05 07 09.3"},
        {HMSStr(V050705_27, 2, false), "05 07 05.27"},
        {HMSStr(V050709_3, 0, false), "05 07 09"},  // two digits, not "009"
        {DMSStr(V050709_3, 1, true), "+05\xB0 07' 09.3\""},
        {DMSStr(-V050705_27, 2, false), "-05 07 05.27"},
        {DMSStr(-0.5L, 0, true), "-00\xB0 30' 00\""},
        {DMSStr(0, 0, false), "+00 00 00"},
        // The whole part is right-aligned in 4 with its sign, and wraps at 360.
        {SexaStr(5.5L, 1, ":", ":", ""), "   5:30:00.0"},
        {SexaStr(-5.5L, 1, ":", ":", ""), "  -5:30:00.0"},
        {SexaStr(123 + 4 / 60.0L + 5 / 3600.0L, 0, "d", "m", "s"), " 123d04m05s"},
        {SexaStr(359.99999L, 0, " ", " ", ""), "   0 00 00"},
        {SexaStr(372.25L, 0, " ", " ", ""), "  12 15 00"},
        {DegMinStr(0.0625L, 2, " Deg ", "'"), "   0 Deg 03.75'"},
        {DegMinStr(10.99999L, 1, " Deg ", "'"), "  11 Deg 00.0'"},
        {DegMinStr(359.9999L, 1, " ", "'"), "   0 00.0'"},
        {DegMinStr(-12.5L, 0, " ", "'"), " -12 30'"},
    };
    for (const auto& r : rows) EXPECT_EQ(r.got, r.want);
}

TEST(NumberText, FixedTrimmedAndExponentForms) {
    struct Row { std::string got, want; };
    const Row rows[] = {
        {FixedStr(3.14159L, 2), "3.14"},
        {FixedStr(0, 3), "0.000"},
        {FixedStr(-2.5L, 1), "-2.5"},
        {FixedStr(-0.001L, 2), "0.00"},  // no "-0.00"
        {FixedStr(42.7L, 0), "43"},
        {FixedStr(2453072.586910L, 6), "2453072.586910"},
        // At most 18 significant digits, zeros after them.
        {FixedStr(2453072.586910L, 15), "2453072.586910000000000"},
        {FixedStr(1.0L / 3, 20), "0.33333333333333333300"},
        {FixedStr(123456789012345678.0L, 2), "123456789012345678.00"},
        {FixedStr(1e20L, 2), "1E+20"},
        {FixedStr(-1.25e25L, 2), "-1.25E+25"},
        {TrimFixedStr(2.5L, 3), "2.5"},
        {TrimFixedStr(10.25L, 4), "10.25"},
        {TrimFixedStr(2, 3), "2.0"},
        {TrimFixedStr(100, 0), "100"},     // an integer keeps its zeros
        {TrimFixedStr(1e20L, 2), "1E+20"},  // and so does an exponent
        {SciStr(1234.5678L, 5), "1.2346E+03"},
        {SciStr(0.0123L, 4), "1.230E-02"},
        {SciStr(-5e-300L, 2), "-5.0E-300"},
        {SciStr(0, 3), "0.00E+00"},
        {SciStr(7, 1), "7E+00"},
        {SciStr(std::nan(""), 3), "NAN"},
    };
    for (const auto& r : rows) EXPECT_EQ(r.got, r.want);
}

TEST(NumberText, SameToTwoDecimals) {
    EXPECT_TRUE(SameToTwoDecimals("1.121", "1.12 of 2004"));
    EXPECT_TRUE(SameToTwoDecimals("1.12", "1.12"));
    EXPECT_FALSE(SameToTwoDecimals("1.121", "1.13"));
    EXPECT_FALSE(SameToTwoDecimals("1.1", "1.12"));
    // Without a point the whole texts count.
    EXPECT_FALSE(SameToTwoDecimals("123", "129"));
}

TEST(FieldParsing, RealFields) {
    struct Row { std::string text; char delim; Extended value; std::string rest; };
    const Row rows[] = {
        {"  12.5, 3", ',', 12.5L, " 3"},
        {"+7;8", ';', 7, "8"},
        {",, -1e3 ,x", ',', -1000, "x"},
        {" 4.25 ", ',', 4.25L, ""},
        {"0.000123 45", ' ', 0.000123L, "45"},
        {".5|", '|', 0.5L, ""},
    };
    for (const auto& r : rows) {
        std::string text = r.text;
        auto v = NextRealField(text, r.delim);
        ASSERT_TRUE(v.ok()) << r.text << ": " << v.error();
        EXPECT_EQ(*v, r.value) << r.text;
        EXPECT_EQ(text, r.rest) << r.text;
    }
}

TEST(FieldParsing, BadRealFieldsAreRefusedAndConsumed) {
    struct Row { std::string text; std::string error; std::string rest; };
    const Row rows[] = {
        {"abc,1", "'abc' is not a valid floating point value", "1"},
        {"inf", "'inf' is not a valid floating point value", ""},
        {"+-3,", "'+-3' is not a valid floating point value", ""},
        {"1e,", "'1e' is not a valid floating point value", ""},
        {"  ", "'' is not a valid floating point value", ""},
        {"12.5.3,", "'12.5.3' is not a valid floating point value", ""},
    };
    for (const auto& r : rows) {
        std::string text = r.text;
        auto v = NextRealField(text, ',');
        ASSERT_FALSE(v.ok()) << r.text;
        EXPECT_EQ(v.error(), r.error);
        EXPECT_EQ(text, r.rest) << r.text;
    }
}

TEST(FieldParsing, IntegerFields) {
    std::string text = " 42, +17,-2147483648,2147483648,3.5,x";
    auto a = NextIntField(text, ',');
    auto b = NextIntField(text, ',');
    auto c = NextIntField(text, ',');
    ASSERT_TRUE(a.ok() && b.ok() && c.ok());
    EXPECT_EQ(*a, 42);
    EXPECT_EQ(*b, 17);
    EXPECT_EQ(*c, -2147483647 - 1);
    auto tooBig = NextIntField(text, ',');
    ASSERT_FALSE(tooBig.ok());
    EXPECT_EQ(tooBig.error(), "'2147483648' is not a valid integer value");
    auto fraction = NextIntField(text, ',');
    ASSERT_FALSE(fraction.ok());
    EXPECT_EQ(fraction.error(), "'3.5' is not a valid integer value");
    EXPECT_EQ(text, "x");
}

TEST(FieldParsing, QuotedFields) {
    struct Row { std::string text; std::string field, rest; };
    const Row rows[] = {
        {"  \"M 31\",12.5", "M 31", "12.5"},
        {",'a,b','c'", "a,b", "'c'"},
        {"\"\",1", "", "1"},
        {"\"open to the end", "open to the end", ""},
        {" , ,  ", "", ""},
        {"\"A\"12", "A", "12"},  // no delimiter: the next field stays whole
    };
    for (const auto& r : rows) {
        std::string text = r.text;
        EXPECT_EQ(NextQuotedField(text, ','), r.field) << r.text;
        EXPECT_EQ(text, r.rest) << r.text;
    }
}

TEST(FieldParsing, TimeTextToDayFraction) {
    struct Row { std::string text; Extended hours; };
    const Row rows[] = {
        {"12:00:00", 12},
        {"18:00:36", 18.01L},
        {"6:30", 6.5L},
        {"7", 7},
        {" 1:30:00 PM", 13.5L},
        {"5:30 PM", 17.5L},
        {"11:15:00 am", 11.25L},
        {"12:15:00 PM", 12.25L},  // noon, not past midnight
        {"12:15:00 AM", 0.25L},
    };
    for (const auto& r : rows) {
        auto v = TimeTextToDayFraction(r.text);
        ASSERT_TRUE(v.ok()) << r.text << ": " << v.error();
        // Tolerance: the conversion's own rounding in extended precision.
        EXPECT_NEAR(static_cast<double>(*v), static_cast<double>(r.hours / 24), 1e-15) << r.text;
    }
    auto bad = TimeTextToDayFraction("ab:00");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error(), "'ab' is not a valid floating point value");
}

TEST(IOErrorText, KnownCodesAndTheRest) {
    struct Row { int code; const char* text; };
    const Row rows[] = {
        {2, "File Not Found!"},      {3, "Path Not Found!"}, {4, "Too Many Open Files!"},
        {5, "File Access Denied!"},  {100, "EOF!"},          {101, "Disk Full!"},
        {106, "Invalid Input!"},     {32, "IOResult = 32"},  {0, "IOResult = 0"},
        {-1, "IOResult = -1"},
    };
    for (const auto& r : rows) EXPECT_EQ(IOErrorText(r.code), r.text) << r.code;
}

std::vector<std::string> SplitAll(const std::string& text, int width) {
    LineSplitter s;
    s.Init(text, width);
    std::vector<std::string> lines;
    // A bound instead of trusting done: a fault must fail, not hang.
    for (int i = 0; i < 1000 && !s.done(); ++i) lines.push_back(s.NextLine());
    EXPECT_TRUE(s.done()) << text;
    return lines;
}

TEST(LineSplitter, WrapsAtSpaces) {
    using Lines = std::vector<std::string>;
    struct Row { std::string text; int width; Lines lines; };
    const Row rows[] = {
        {"the quick brown fox", 10, {"the quick ", "brown fox"}},
        {"the quick brown fox", 8, {"the ", "quick ", "brown ", "fox"}},
        {"short", 72, {"short"}},
        {"", 10, {""}},
        // A run of spaces at the break is dropped with it.
        {"ab   cd efgh", 3, {"ab ", "cd ", "efg", "h"}},
        // A word longer than the width is cut at the width.
        {"abcdefghij klm", 4, {"abcd", "efgh", "ij ", "klm"}},
        {"abc def", 3, {"abc", "def"}},
        // A width below 1 counts as 1.
        {"abc", 0, {"a", "b", "c"}},
    };
    for (const auto& r : rows) EXPECT_EQ(SplitAll(r.text, r.width), r.lines) << r.text << " / " << r.width;
}

}  // namespace
}  // namespace qnr
