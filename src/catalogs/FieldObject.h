#pragma once
// The item of every field list, the sky box a field query works on and the
// in-field tests every catalog reader shares. Right ascension is in hours,
// declination in degrees, both J2000.0.
#include <cstdint>
#include <string>

#include "astro/Types.h"
#include "catalogs/SpType.h"

namespace qnr {

// FieldObject kinds.
inline constexpr std::uint8_t KindStar = 0;
inline constexpr std::uint8_t KindGalaxy = 1;
inline constexpr std::uint8_t KindAsteroid = 2;
inline constexpr std::uint8_t KindQuasar = 3;

// A magnitude or colour of this or more means that no value is known.
inline constexpr Single NoMagnitude = 30.0f;

struct FieldObject {
    std::string name;  // up to 24 characters
    double ra = 0;     // hours
    double dec = 0;    // degrees
    Single V = NoMagnitude;
    Single BV = NoMagnitude;
    Single UB = NoMagnitude;
    // A quasar's redshift; a catalog star carries its record's spare value here.
    Single Z = 0;
    bool classAssigned = false;
    bool luminosityAssigned = false;
    bool bvAssigned = false;
    bool ubAssigned = false;
    std::uint8_t kind = KindStar;
    SpectralTypeCode spType = 0;
    double x = 0, y = 0;  // view position, or chip position in the camera's copy
    std::uint8_t symbolSize = 0;
};

inline constexpr std::size_t FieldObjectNameLength = 24;

// A galaxy drawn into a picture: its catalog values in the star record layout
// and the box of pixels its light reached (inclusive; none when right < left).
struct DrawnGalaxy {
    FieldObject object;
    int left = 0, top = 0, right = -1, bottom = -1;
};

// MinRA > MaxRA: the box straddles 0h.
struct FieldLimits {
    double MinRA = 0;
    double MaxRA = 0;
    double MinDec = 0;
    double MaxDec = 0;
    Single LimitMag = 20.0f;

    bool acrossZero() const { return MinRA > MaxRA; }
};

inline constexpr Single FinderLimitMag = 14.0f;
inline constexpr Single InstrumentLimitMag = 20.0f;

// The box of half height h degrees around (ra, dec): MinRA/MaxRA from the
// half width h / (15 cos dec), each end brought into [0, 24). A box that
// reaches a pole, or whose half width would be 12 h or more, takes the whole
// RA range (0 to 24) instead of limits that wrap into nonsense or divide by
// zero; the declinations stop at the poles.
FieldLimits MakeFieldLimits(double ra, double dec, double halfHeight, Single limitMag);

// The test of the galaxy and quasar readers. pastEnd: the point lies beyond
// MaxRA in a reader's RA order (never for ra >= 12 across 0h), so a reader
// of an RA-sorted file can stop.
struct InFieldResult {
    bool in = false;
    bool pastEnd = false;
};
InFieldResult TestInField(const FieldLimits& limits, double ra, double dec);

// The RA test of the star readers and the asteroid list: MinRA <= ra <= MaxRA,
// or across 0h (MinRA >= MaxRA) ra >= MinRA or ra <= MaxRA.
bool InRARange(const FieldLimits& limits, double ra);

// Angular distance in degrees as the field lists measure it:
// sqrt((15 dRA cos dec)^2 + dDec^2), dRA reduced to at most 12 h, with the
// cosine of the given point's declination.
double AngularDistance(const FieldObject& object, double dec, double ra);

// Whether `designation` occurs in `text` as a whole designation: not
// preceded or followed by a letter or digit ("NGC 224" is in
// "M 31 (NGC 224)" but not in "NGC 2240").
bool ContainsDesignation(const std::string& text, const std::string& designation);

// Trailing blanks removed.
std::string TrimRight(const std::string& s);

}  // namespace qnr
