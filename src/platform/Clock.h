#pragma once
// The real clock and the time-zone information.
#include <cstdint>
#include <string>

namespace qnr::platform {

// Biases in minutes, UT minus local, as the observatory's zone arithmetic wants.
struct TimeZoneInfo {
    int biasMinutes = 0;          // UT minus local standard time, without the standard bias
    int standardBiasMinutes = 0;  // added to bias outside daylight time
    int daylightBiasMinutes = 0;  // added to bias in daylight time (usually -60)
    bool daylightInForce = false;
    bool known = false;           // false when the platform cannot tell
    std::string name;             // the zone's name in force
};

class Clock {
public:
    virtual ~Clock() = default;
    // Local civil date and time as a day number (days since 1899-12-30 00:00).
    virtual double localDayNumber() = 0;
    // Milliseconds since an arbitrary start; wraps at 2^32.
    virtual std::uint32_t tickMs() = 0;
    // A high-resolution counter; 0 when the platform has none.
    virtual std::uint64_t performanceCounter() = 0;
    virtual TimeZoneInfo timeZone() = 0;
};

}  // namespace qnr::platform
