#pragma once
// The real clock from QDateTime and QElapsedTimer, the zone from QTimeZone.
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimeZone>

#include "platform/Clock.h"

namespace qnr::ui {

// Days since 1899-12-30 00:00 of the civil date and time shown by `moment`
// in its own time spec (local for the real clock), with milliseconds.
double DayNumberOf(const QDateTime& moment);

// The zone's biases at `moment`: UT minus local standard time, and the
// daylight bias of the zone's daylight time (-60 for a one-hour shift) even
// when it is not in force; 0 for a zone without daylight time ahead.
platform::TimeZoneInfo ZoneInfoAt(const QTimeZone& zone, const QDateTime& moment);

class QtClock final : public platform::Clock {
public:
    QtClock() { elapsed_.start(); }

    double localDayNumber() override;
    std::uint32_t tickMs() override;
    std::uint64_t performanceCounter() override;
    platform::TimeZoneInfo timeZone() override;

private:
    QElapsedTimer elapsed_;
};

}  // namespace qnr::ui
