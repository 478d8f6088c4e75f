#pragma once
// Civil dates and times of an observation as day numbers: days and fraction
// since 1899-12-30 00:00, linear on both sides of day 0, so that
// Julian Date = value + zone + 2415018.5 everywhere. Dates from 1582-10-15 on
// are Gregorian, earlier ones Julian.
#include <cstdint>
#include <string>

#include "astro/Types.h"

namespace qnr {

namespace platform { class Clock; }

inline constexpr Extended JulianDateOfDayZero = 2415018.5L;  // 1899-12-30 00:00
inline constexpr Extended JulianDateJ2000 = 2451545.0L;

struct CalendarDate {
    std::int32_t year = 1899;  // astronomical numbering: 0 is 1 BC
    int month = 12;
    int day = 30;
};

// Julian rule up to 1582, Gregorian after.
bool IsLeapYear(std::int32_t year);
// Years -4000 to 8000 with the month lengths of IsLeapYear.
bool IsValidDate(std::int32_t year, int month, int day);
// Whole day number of a calendar date (0 for 1899-12-30).
std::int64_t EncodeDate(std::int32_t year, int month, int day);
// Calendar date of the day that holds the day number.
CalendarDate DecodeDate(double dayNumber);

// Splits a day number into its day and the milliseconds of the day, rounded;
// a time a hair before midnight belongs to the next day.
struct DayAndMs {
    std::int64_t day = 0;
    std::int32_t ms = 0;
};
DayAndMs SplitDayNumber(double dayNumber);

struct TimeOfDay {
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    Single seconds = 0;  // whole seconds + milliseconds / 1000
    double value = 0;    // the day number it was set from

    void SetFromDayNumber(double v);
    // Sets the time from the fraction of x (biased by 0.1 ms so that a hair
    // below a whole second does not show as 59.999) and returns the whole days.
    Extended SplitDayFraction(Extended x);
    Extended AsDayFraction() const;
    // SexaStr of the time without its first two characters: the hour in 2.
    std::string TimeStr(int d, const std::string& sep1, const std::string& sep2,
                        const std::string& sep3) const;
};

// The date and time of an observation; the main window's instance is the sky clock.
struct ObsDateTime {
    std::int32_t year = 1899;  // local civil date
    std::uint8_t month = 12;
    std::uint8_t day = 30;
    double value = 0;  // local date and time as a day number
    TimeOfDay ut;      // of value + zone
    TimeOfDay local;   // of value
    Extended zone = 0;  // UT minus local, days

    void SetZone(Single hours, platform::Clock& clock);
    void SetNow(platform::Clock& clock);
    void SetDayNumber(double v);
    Extended JulianDate() const;
    void SetJulianDate(Extended jd);
    // 0 Sunday ... 6 Saturday of the UT date; 10 for an invalid date.
    int DayOfWeek() const;
    bool IsLeapYear() const;
    bool IsValidDate() const;
    std::string LongDateStr() const;     // "January 5, 2004"
    std::string NumericDateStr() const;  // "03-07-2004"
    std::string WeekdayName() const;     // by DayOfWeek; empty for an invalid date
    std::string FullDateStr() const;     // weekday of the local date + LongDateStr
    // UT year, month and day with the UT fraction of the day: "2004 Mar 8.087".
    std::string DecimalDayStr(int d) const;
    std::string JulianDateStr(int d) const;
    static Extended CenturiesJ2000Over100(Extended jd);
};

// "2004-03-07T21:05:09", or "2004-03-07" without the time.
std::string StampStr(double dateTime, bool withTime);

}  // namespace qnr
