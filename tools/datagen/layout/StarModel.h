#pragma once
// What the star catalogs need beyond the real catalog: colours and types we
// derive (U-B from an intrinsic colour table, the luminosity class from the
// parallax, a class from B-V), and the faint stars of the exercise regions
// from a star-count model.
//
// Star counts. The differential count A(V) (stars per magnitude per square
// degree) is continued from the real count A0 measured at V = 9.5 (stars of
// 8.5 < V <= 10.5 within a few degrees of the region) with a local slope
// d log10 A / dV = g(V) = 0.48 - k (V - 8.25) that flattens with magnitude,
// as the disk's exponential scale height and the halo make it flatten in
// Bahcall-Soneira-type models; k = 0.045 at the galactic poles and
// 0.045 x (0.6 + 0.4 sin|b|) towards the plane, where the disk keeps the
// counts rising longer. At the poles this gives about 1.5 x 10^3 stars per
// square degree to V 20, near b = 20 degrees about 10^4.
//
// Colours: a mixture of disk main-sequence stars (B-V reddening with V, as
// fainter disk samples reach later types), disk giants (a share falling from
// 30 % at V 9 to 3 % at V 20) and halo turn-off stars (B-V near 0.5, a share
// rising with V and with galactic latitude), reddened by E(B-V) =
// 0.025 / sin|b| (at most 0.15) with E(U-B) = 0.72 E(B-V).
#include <cstdint>
#include <string>
#include <vector>

#include "catalogs/SpType.h"

namespace qnr::datagen {

// A small generator of our own, so that a region's draws depend on the
// region alone (splitmix64).
class Draws {
public:
    explicit Draws(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();             // [0, 1)
    double normal();              // mean 0, sd 1
    std::uint32_t poisson(double mean);

private:
    std::uint64_t state_;
};

struct Galactic {
    double l = 0, b = 0;  // degrees
};
Galactic ToGalactic(double raHours, double decDeg);

enum class Luminosity { Dwarf, Subgiant, Giant, BrightGiant, Supergiant };
const char* LuminosityText(Luminosity l);  // "V", "IV", "III", "II", "Ib"

// Intrinsic U-B of a star of the given B-V (dwarfs and giants).
double IntrinsicUB(double bv, Luminosity l);
// Main-sequence absolute magnitude at B-V.
double MainSequenceMV(double bv);
// The class and subclass text ("K2") of a B-V within the class letter when
// one is given ('K'), else from B-V alone.
std::string TypeFromColour(double bv, char classLetter, Luminosity l);
// From the absolute magnitude the parallax gives: against the main sequence
// for dwarfs and subgiants, by itself above them;
// without a usable parallax (under 3 mas), K and M stars count as giants
// (at V < 9 nearly all are) and the rest as dwarfs.
Luminosity LuminosityFromParallax(double V, double bv, double parallaxMas, char classLetter);

struct RealStarValues {
    double UB = 0;
    SpectralTypeCode spType = 0;
    std::uint8_t flags = 0;  // the star record's assigned flags
};
// A catalog star's derived values: sp is the source's type ("K2", "K?" or "-").
RealStarValues DeriveRealStar(double V, double bv, const std::string& sp, double parallaxMas);

// ---- Star counts.

inline constexpr double AnchorV = 9.5;
inline constexpr double AnchorLow = 8.5, AnchorHigh = 10.5;
inline constexpr double SlopeV = 8.25;  // where g(V) = 0.48
double CountSlopeK(double absB);
// A(V) from A0 = A(9.5).
double DifferentialCount(double anchor, double V, double absB);
// Stars per square degree with V1 < V <= V2.
double CountBetween(double anchor, double v1, double v2, double absB);

struct SyntheticStar {
    double ra = 0, dec = 0;  // hours, degrees
    double V = 0, BV = 0, UB = 0;
    SpectralTypeCode spType = 0;
};

struct SkyCell {
    double lowRA = 0, highRA = 0, lowDec = 0, highDec = 0;  // hours, degrees
    double AreaSqDeg() const;
};

// The faint stars of one cell from V vMin to vMax; the same seed gives the
// same stars.
std::vector<SyntheticStar> DrawStars(const SkyCell& cell, double anchor, double vMin, double vMax,
                                     std::uint64_t seed);

// Colours and type of one synthetic star.
SyntheticStar StarColours(double V, double absB, Draws& draws);

}  // namespace qnr::datagen
