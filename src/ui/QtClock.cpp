#include "ui/QtClock.h"

#include "ui/Latin1.h"

namespace qnr::ui {

namespace {
const qint64 DayZero = QDate(1899, 12, 30).toJulianDay();
constexpr double MsPerDay = 86400000.0;
}  // namespace

double DayNumberOf(const QDateTime& moment) {
    // From the civil fields, not from the epoch: a day number is local wall time.
    const qint64 days = moment.date().toJulianDay() - DayZero;
    return static_cast<double>(days) + moment.time().msecsSinceStartOfDay() / MsPerDay;
}

platform::TimeZoneInfo ZoneInfoAt(const QTimeZone& zone, const QDateTime& moment) {
    platform::TimeZoneInfo info;
    if (!zone.isValid()) return info;
    info.biasMinutes = -zone.standardTimeOffset(moment) / 60;
    info.standardBiasMinutes = 0;
    info.daylightInForce = zone.isDaylightTime(moment);
    int daylightSeconds = 0;
    if (info.daylightInForce) {
        daylightSeconds = zone.daylightTimeOffset(moment);
    } else if (zone.hasTransitions()) {
        // Outside daylight time the shift is read from the next change into it.
        const QTimeZone::OffsetData next = zone.nextTransition(moment);
        if (next.atUtc.isValid()) daylightSeconds = next.daylightTimeOffset;
    }
    info.daylightBiasMinutes = -daylightSeconds / 60;
    info.name = ToLatin1(zone.displayName(moment, QTimeZone::LongName));
    info.known = true;
    return info;
}

double QtClock::localDayNumber() { return DayNumberOf(QDateTime::currentDateTime()); }

std::uint32_t QtClock::tickMs() {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(elapsed_.elapsed()));
}

std::uint64_t QtClock::performanceCounter() {
    return static_cast<std::uint64_t>(elapsed_.nsecsElapsed());
}

platform::TimeZoneInfo QtClock::timeZone() {
    return ZoneInfoAt(QTimeZone::systemTimeZone(), QDateTime::currentDateTime());
}

}  // namespace qnr::ui
