#pragma once
// Galaxies: the morphology texts of the source catalog mapped to the
// catalog's type code (-9 .. 20), bar, luminosity class and variety, and the
// pictures of the bright galaxies, rendered from type, axes and position
// angle (bulge and disk, arms for spirals, a dust lane when seen edge-on).
#include <cstdint>
#include <string>
#include <vector>

#include "astro/BinFile.h"

namespace qnr::datagen {

struct GalaxyType {
    int code = -8;  // -8: no type
    char bar = ' ';
    char luminosity = ' ';
    char variety = ' ';
    bool operator==(const GalaxyType&) const = default;
};

// "SAB(rs)bc", "E4", "S0-a", "IB(s)m pec", "Sc II", "-5" (a numeric stage) ...
GalaxyType MapMorphology(const std::string& text);

// The telescope view's scale with the default options (312 pixels for 15
// arcminutes), which the pictures are drawn at.
inline constexpr double PicturePixelsPerArcmin = 312.0 / 15.0;
inline constexpr int MaxPictureSize = 640;

struct GalaxyShape {
    GalaxyType type;
    double majorArcmin = 1, minorArcmin = 1;
    int positionAngle = 0;  // degrees, 0 = not given
    double magnitude = 12;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> grey;  // row by row from the top
};
Picture RenderGalaxy(const GalaxyShape& shape);

// A 24-bit BMP of a grey picture.
Bytes EncodeBmp(const Picture& picture);

}  // namespace qnr::datagen
