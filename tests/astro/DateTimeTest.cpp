#include "astro/DateTime.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace qnr {
namespace {

// Day number of a local date and time of day.
double DayNumber(int y, int m, int d, int hh, int mm, double ss) {
    return static_cast<double>(EncodeDate(y, m, d)) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

TEST(Calendar, DayNumbersAgreeWithJulianDates) {
    // Meeus, Astronomical Algorithms, table 7.a and example 7.a, plus the
    // 1582 switch and the end of the supported range (proleptic Gregorian).
    struct Row { int y, m; double day; Extended jd; };
    const Row rows[] = {
        {2000, 1, 1.5, 2451545.0L},   {1999, 1, 1.0, 2451179.5L},   {1987, 1, 27.0, 2446822.5L},
        {1987, 6, 19.5, 2446966.0L},  {1988, 1, 27.0, 2447187.5L},  {1988, 6, 19.5, 2447332.0L},
        {1900, 1, 1.0, 2415020.5L},   {1600, 1, 1.0, 2305447.5L},   {1600, 12, 31.0, 2305812.5L},
        {837, 4, 10.3, 2026871.8L},   {-123, 12, 31.0, 1676496.5L}, {-122, 1, 1.0, 1676497.5L},
        {-1000, 7, 12.5, 1356001.0L}, {-1000, 2, 29.0, 1355866.5L}, {-1001, 8, 17.9, 1355671.4L},
        {-4712, 1, 1.5, 0.0L},        {1957, 10, 4.81, 2436116.31L},
        {1582, 10, 4.0, 2299159.5L},  {1582, 10, 15.0, 2299160.5L}, {1899, 12, 30.0, 2415018.5L},
        {8000, 12, 31.0, 2228346.0L + 2415018.5L},
    };
    for (const auto& r : rows) {
        const int whole = static_cast<int>(std::floor(r.day));
        const double value = static_cast<double>(EncodeDate(r.y, r.m, whole)) + (r.day - whole);
        // Tolerance: the fractions of the table are given to 0.1 day or better,
        // and a double day number near 2e6 keeps about 1e-10 day.
        EXPECT_NEAR(value + static_cast<double>(JulianDateOfDayZero), static_cast<double>(r.jd), 1e-8)
            << r.y << "-" << r.m << "-" << r.day;
        CalendarDate back = DecodeDate(value);
        EXPECT_EQ(back.year, r.y);
        EXPECT_EQ(back.month, r.m);
        EXPECT_EQ(back.day, whole);
    }
}

TEST(Calendar, LeapYearsAndValidDates) {
    struct Row { int y, m, d; bool valid; };
    const Row rows[] = {
        {1900, 2, 29, false}, {2000, 2, 29, true},  {1500, 2, 29, true},  // Julian rule up to 1582
        {1700, 2, 29, false}, {1600, 2, 29, true},  {2001, 2, 29, false}, {2001, 2, 28, true},
        {2001, 4, 31, false}, {2001, 4, 30, true},  {2001, 11, 31, false}, {2001, 12, 31, true},
        {2001, 0, 1, false},  {2001, 13, 1, false}, {2001, 1, 0, false},  {2001, 1, 32, false},
        {-4000, 1, 1, true},  {-4001, 12, 31, false}, {8000, 12, 31, true}, {8001, 1, 1, false},
        {-4, 2, 29, true},    {-1, 2, 29, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IsValidDate(r.y, r.m, r.d), r.valid) << r.y << "-" << r.m << "-" << r.d;
        ObsDateTime t;
        t.year = r.y;
        t.month = static_cast<std::uint8_t>(r.m);
        t.day = static_cast<std::uint8_t>(r.d);
        EXPECT_EQ(t.IsValidDate(), r.valid);
    }
    EXPECT_FALSE(IsLeapYear(1582));
    EXPECT_TRUE(IsLeapYear(1580));
}

TEST(ObsDateTime, JulianDateOfALocalTimeWithAZone) {
    // Local 2004-03-07 21:05:09 five hours behind UT.
    ObsDateTime t;
    t.zone = 5 / 24.0L;
    t.SetDayNumber(DayNumber(2004, 3, 7, 21, 5, 9));
    // Tolerance: the example gives 6 decimals.
    EXPECT_NEAR(t.value, 38053.878576, 1e-6);
    EXPECT_NEAR(static_cast<double>(t.JulianDate()), 2453072.586910, 1e-6);
    EXPECT_EQ(t.JulianDateStr(6), "2453072.586910");
    EXPECT_EQ(t.year, 2004);
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.local.hour, 21);
    EXPECT_EQ(t.local.minute, 5);
    EXPECT_EQ(t.local.seconds, 9.0f);
    EXPECT_EQ(t.ut.hour, 2);
    EXPECT_EQ(t.ut.minute, 5);
    EXPECT_EQ(t.ut.seconds, 9.0f);
    EXPECT_EQ(t.LongDateStr(), "March 7, 2004");
    EXPECT_EQ(t.NumericDateStr(), "03-07-2004");
    // The UT date is already March 8: the weekday of the instant is Monday,
    // while the full date text names the weekday of the local date.
    EXPECT_EQ(t.DayOfWeek(), 1);
    EXPECT_EQ(t.WeekdayName(), "Monday");
    EXPECT_EQ(t.FullDateStr(), "Sunday March 7, 2004");
    // The decimal day is all UT: 2004 Mar 8 + 02:05:09.
    EXPECT_EQ(t.DecimalDayStr(3), "2004 Mar 8.087");
    EXPECT_EQ(t.DecimalDayStr(5), "2004 Mar 8.08691");

    ObsDateTime back;
    back.zone = t.zone;
    back.SetJulianDate(2453072.586910L);
    EXPECT_EQ(back.day, 7);
    EXPECT_EQ(back.local.hour, 21);
    EXPECT_EQ(back.local.minute, 5);
    EXPECT_NEAR(back.local.seconds, 9.0f, 0.044f);  // half of 1e-6 day, the example's last decimal
}

TEST(ObsDateTime, WeekdaysAndTheCalendarSwitch) {
    ObsDateTime t;
    t.SetDayNumber(DayNumber(2000, 1, 1, 12, 0, 0));
    EXPECT_EQ(t.DayOfWeek(), 6);
    EXPECT_EQ(t.WeekdayName(), "Saturday");
    EXPECT_EQ(t.FullDateStr(), "Saturday January 1, 2000");

    // The day after the last Julian date is the first Gregorian one.
    t.SetDayNumber(DayNumber(1582, 10, 4, 6, 0, 0) + 1);
    EXPECT_EQ(t.year, 1582);
    EXPECT_EQ(t.month, 10);
    EXPECT_EQ(t.day, 15);
    EXPECT_EQ(t.WeekdayName(), "Friday");  // Thursday the 4th was followed by Friday the 15th

    t.year = 9000;  // out of range
    EXPECT_EQ(t.DayOfWeek(), 10);
    EXPECT_EQ(t.WeekdayName(), "");
}

TEST(ObsDateTime, DayNumbersBeforeDayZeroAreLinear) {
    ObsDateTime t;
    t.SetDayNumber(-1.25);  // 1899-12-28 18:00
    EXPECT_EQ(t.year, 1899);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 28);
    EXPECT_EQ(t.local.hour, 18);
    EXPECT_EQ(t.local.minute, 0);
    EXPECT_EQ(t.JulianDate(), 2415017.25L);
    EXPECT_EQ(StampStr(-1.25, true), "1899-12-28T18:00:00");
}

TEST(ObsDateTime, TimesAHairBeforeAWholeSecondCarry) {
    struct Row { double value; int y, m, d, hh, mm; float ss; };
    const Row rows[] = {
        {DayNumber(2004, 3, 7, 10, 20, 59.9996), 2004, 3, 7, 10, 21, 0.0f},
        {DayNumber(2004, 3, 7, 10, 20, 30.1234), 2004, 3, 7, 10, 20, 30.123f},
        {DayNumber(2004, 2, 29, 23, 59, 59.9996), 2004, 3, 1, 0, 0, 0.0f},
    };
    for (const auto& r : rows) {
        ObsDateTime t;
        t.SetDayNumber(r.value);
        EXPECT_EQ(t.year, r.y);
        EXPECT_EQ(t.month, r.m);
        EXPECT_EQ(t.day, r.d);
        EXPECT_EQ(t.local.hour, r.hh);
        EXPECT_EQ(t.local.minute, r.mm);
        EXPECT_NEAR(t.local.seconds, r.ss, 1e-4f);  // single precision of the field
        EXPECT_LT(t.local.seconds, 60.0f);
    }
    EXPECT_EQ(StampStr(DayNumber(2004, 3, 7, 23, 59, 59.9999), true), "2004-03-08T00:00:00");
}

TEST(ObsDateTime, ZoneAndClock) {
    test::FakeClock clock;  // 2002-04-14 12:00 local
    ObsDateTime t;
    t.SetZone(-2.5f, clock);
    EXPECT_EQ(t.value, clock.now);
    EXPECT_EQ(t.ut.hour, 9);
    EXPECT_EQ(t.ut.minute, 30);
    EXPECT_EQ(t.local.hour, 12);
    EXPECT_EQ(t.day, 14);
    clock.now += 0.25;
    t.SetNow(clock);
    EXPECT_EQ(t.local.hour, 18);
    EXPECT_EQ(t.ut.hour, 15);
}

TEST(ObsDateTime, DecimalDayCarriesIntoTheNextDate) {
    ObsDateTime t;
    t.SetDayNumber(DayNumber(2004, 3, 31, 23, 59, 59));
    EXPECT_EQ(t.DecimalDayStr(3), "2004 Apr 1.000");
    EXPECT_EQ(t.DecimalDayStr(6), "2004 Mar 31.999988");
    EXPECT_EQ(ObsDateTime::CenturiesJ2000Over100(2451545.0L + 3652500), 1);
}

TEST(TimeOfDay, SplitFractionAndText) {
    TimeOfDay t;
    // A hair below noon counts as noon.
    EXPECT_EQ(t.SplitDayFraction(2.5L - 1e-10L), 2);
    EXPECT_EQ(t.hour, 12);
    EXPECT_EQ(t.minute, 0);
    EXPECT_LT(t.seconds, 0.001f);
    EXPECT_EQ(t.SplitDayFraction(3.75L), 3);
    EXPECT_EQ(t.hour, 18);
    EXPECT_NEAR(static_cast<double>(t.AsDayFraction()), 0.75, 2e-9);  // plus the 0.1 ms bias

    t.SetFromDayNumber(DayNumber(2002, 4, 14, 14, 5, 9.37));
    EXPECT_EQ(t.TimeStr(2, ":", ":", ""), "14:05:09.37");
    t.SetFromDayNumber(DayNumber(2002, 4, 14, 9, 5, 9.37));
    EXPECT_EQ(t.TimeStr(2, ":", ":", ""), " 9:05:09.37");
    EXPECT_EQ(t.TimeStr(0, "h", "m", "s"), " 9h05m09s");
    EXPECT_NEAR(static_cast<double>(t.AsDayFraction()), (9 * 3600 + 5 * 60 + 9.37) / 86400, 1e-10);
}

TEST(StampStr, DateAndTime) {
    const double v = DayNumber(2004, 3, 7, 21, 5, 9);
    EXPECT_EQ(StampStr(v, true), "2004-03-07T21:05:09");
    EXPECT_EQ(StampStr(v, false), "2004-03-07");
}

}  // namespace
}  // namespace qnr
