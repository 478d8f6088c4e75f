#include "astro/DateTime.h"

#include <cmath>

#include "astro/StringUt.h"
#include "platform/Clock.h"

namespace qnr {

namespace {

constexpr std::int64_t MsPerDay = 86400000;
// Julian Day Number of day 0 (the day of 1899-12-30, noon).
constexpr std::int64_t DayZeroJdn = 2415019;
// Julian Day Number of 1582-10-15, the first Gregorian day.
constexpr std::int64_t FirstGregorianJdn = 2299161;

const char* const MonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
const char* const DayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }


// 0 Sunday ... 6 Saturday.
int WeekdayOfDay(std::int64_t day) { return static_cast<int>(FloorMod(day + DayZeroJdn + 1, 7)); }

}  // namespace

bool IsLeapYear(std::int32_t year) {
    if (year > 1582) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return FloorMod(year, 4) == 0;
}

bool IsValidDate(std::int32_t year, int month, int day) {
    if (year < -4000 || year > 8000 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    if (month == 2) return day <= (IsLeapYear(year) ? 29 : 28);
    if (month == 4 || month == 6 || month == 9 || month == 11) return day <= 30;
    return true;
}

std::int64_t EncodeDate(std::int32_t year, int month, int day) {
    const std::int64_t a = FloorDiv(14 - month, 12);
    const std::int64_t y = static_cast<std::int64_t>(year) + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    std::int64_t jdn = day + FloorDiv(153 * m + 2, 5) + 365 * y + FloorDiv(y, 4);
    const bool gregorian = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
    if (gregorian)
        jdn += -FloorDiv(y, 100) + FloorDiv(y, 400) - 32045;
    else
        jdn -= 32083;
    return jdn - DayZeroJdn;
}

CalendarDate DecodeDate(double dayNumber) {
    const std::int64_t jdn = SplitDayNumber(std::floor(dayNumber)).day + DayZeroJdn;
    std::int64_t b = 0, c = 0;
    if (jdn >= FirstGregorianJdn) {
        const std::int64_t a = jdn + 32044;
        b = FloorDiv(4 * a + 3, 146097);
        c = a - FloorDiv(146097 * b, 4);
    } else {
        c = jdn + 32082;
    }
    const std::int64_t d = FloorDiv(4 * c + 3, 1461);
    const std::int64_t e = c - FloorDiv(1461 * d, 4);
    const std::int64_t m = FloorDiv(5 * e + 2, 153);
    CalendarDate r;
    r.day = static_cast<int>(e - FloorDiv(153 * m + 2, 5) + 1);
    r.month = static_cast<int>(m + 3 - 12 * FloorDiv(m, 10));
    r.year = static_cast<std::int32_t>(100 * b + d - 4800 + FloorDiv(m, 10));
    return r;
}

DayAndMs SplitDayNumber(double dayNumber) {
    // Far beyond any calendar the system knows; keeps the conversions defined.
    if (!std::isfinite(dayNumber) || std::fabs(dayNumber) > 1e10) return {};
    const Extended whole = std::floor(static_cast<Extended>(dayNumber));
    DayAndMs r;
    r.day = static_cast<std::int64_t>(whole);
    std::int64_t ms = static_cast<std::int64_t>(std::nearbyint((dayNumber - whole) * MsPerDay));
    if (ms >= MsPerDay) {
        ++r.day;
        ms -= MsPerDay;
    }
    r.ms = static_cast<std::int32_t>(ms);
    return r;
}

void TimeOfDay::SetFromDayNumber(double v) {
    value = v;
    const std::int32_t ms = SplitDayNumber(v).ms;
    hour = static_cast<std::uint8_t>(ms / 3600000);
    minute = static_cast<std::uint8_t>(ms / 60000 % 60);
    seconds = static_cast<Single>((ms % 60000) / 1000.0);
}

Extended TimeOfDay::SplitDayFraction(Extended x) {
    value = static_cast<double>(x);
    const Extended y = x + 1.1574074074074e-9L;
    const Extended whole = std::floor(y);
    Extended t = (y - whole) * 24;
    const Extended h = std::trunc(t);
    t = (t - h) * 60;
    const Extended m = std::trunc(t);
    hour = static_cast<std::uint8_t>(h);
    minute = static_cast<std::uint8_t>(m);
    seconds = static_cast<Single>((t - m) * 60);
    return whole;
}

Extended TimeOfDay::AsDayFraction() const {
    return hour / 24.0L + minute / 1440.0L + static_cast<Extended>(seconds) / 86400.0L;
}

std::string TimeOfDay::TimeStr(int d, const std::string& sep1, const std::string& sep2,
                               const std::string& sep3) const {
    const Extended hours = hour + minute / 60.0L + static_cast<Extended>(seconds) / 3600.0L;
    return SexaStr(hours, d, sep1, sep2, sep3).substr(2);
}

void ObsDateTime::SetZone(Single hours, platform::Clock& clock) {
    zone = static_cast<Extended>(hours) / 24;
    SetNow(clock);
}

void ObsDateTime::SetNow(platform::Clock& clock) { SetDayNumber(clock.localDayNumber()); }

void ObsDateTime::SetDayNumber(double v) {
    value = v;
    // The date comes from the same rounded milliseconds as the time of day.
    const CalendarDate date = DecodeDate(static_cast<double>(SplitDayNumber(v).day));
    year = date.year;
    month = static_cast<std::uint8_t>(date.month);
    day = static_cast<std::uint8_t>(date.day);
    local.SetFromDayNumber(v);
    ut.SetFromDayNumber(static_cast<double>(v + zone));
}

Extended ObsDateTime::JulianDate() const { return value + zone + JulianDateOfDayZero; }

void ObsDateTime::SetJulianDate(Extended jd) { SetDayNumber(static_cast<double>(jd - zone - JulianDateOfDayZero)); }

int ObsDateTime::DayOfWeek() const {
    if (!IsValidDate()) return 10;
    const auto n = static_cast<std::int64_t>(std::nearbyint(JulianDate() + 1e-8L));
    return static_cast<int>(FloorMod(n + 1, 7));
}

bool ObsDateTime::IsLeapYear() const { return qnr::IsLeapYear(year); }

bool ObsDateTime::IsValidDate() const { return qnr::IsValidDate(year, month, day); }

std::string ObsDateTime::LongDateStr() const {
    const std::string name = month >= 1 && month <= 12 ? MonthNames[month - 1] : "";
    return name + " " + std::to_string(day) + ", " + std::to_string(year);
}

std::string ObsDateTime::NumericDateStr() const {
    return ZeroPadded(month, 2) + "-" + ZeroPadded(day, 2) + "-" + ZeroPadded(year, 4);
}

std::string ObsDateTime::WeekdayName() const {
    const int w = DayOfWeek();
    return w >= 0 && w < 7 ? DayNames[w] : "";
}

std::string ObsDateTime::FullDateStr() const {
    // The weekday goes with the local date shown, not with the UT date.
    if (!IsValidDate()) return LongDateStr();
    return std::string(DayNames[WeekdayOfDay(EncodeDate(year, month, day))]) + " " + LongDateStr();
}

std::string ObsDateTime::DecimalDayStr(int d) const {
    // Date and fraction both of UT; the local date is a day off whenever the two dates differ.
    static const char* const Short[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const DayAndMs u = SplitDayNumber(static_cast<double>(value + zone));
    const Extended fraction = static_cast<Extended>(u.ms) / MsPerDay;
    CalendarDate date = DecodeDate(static_cast<double>(u.day));
    std::string dayText = FixedStr(date.day + fraction, d);
    if (FixedStr(fraction, d).starts_with("1")) {
        // The fraction shows as a whole day: the text moves to the next date.
        date = DecodeDate(static_cast<double>(u.day + 1));
        dayText = FixedStr(date.day, d);
    }
    return std::to_string(date.year) + " " + Short[date.month - 1] + " " + dayText;
}

std::string ObsDateTime::JulianDateStr(int d) const { return FixedStr(JulianDate(), d); }

Extended ObsDateTime::CenturiesJ2000Over100(Extended jd) { return (jd - JulianDateJ2000) / 3652500; }

std::string StampStr(double dateTime, bool withTime) {
    const DayAndMs s = SplitDayNumber(dateTime);
    const CalendarDate date = DecodeDate(static_cast<double>(s.day));
    std::string text = ZeroPadded(date.year, 4) + "-" + ZeroPadded(date.month, 2) + "-" + ZeroPadded(date.day, 2);
    if (!withTime) return text;
    const std::int32_t secs = s.ms / 1000;
    return text + "T" + ZeroPadded(secs / 3600, 2) + ":" + ZeroPadded(secs / 60 % 60, 2) + ":" + ZeroPadded(secs % 60, 2);
}

}  // namespace qnr
