#pragma once
// The star-image kit shared by the telescope views and the dome sky: grey
// star pictures by brightness class, the rule that turns magnitudes into
// classes, the brighten-only blit and the simple sky projection of a field.
#include <cstdint>
#include <vector>

#include "astro/Raster.h"
#include "astro/Types.h"

namespace qnr::observatory {

inline constexpr int StarClasses = 15;
inline constexpr int SmallPictureSize = 99;   // centre at (49, 49) counted from 0
inline constexpr int LargePictureSize = 249;  // centre at (124, 124)
// Values below this leave the target alone when a star is drawn.
inline constexpr int StarBlitThreshold = 30;

// A square grey picture, one value (0..255) per pixel, row by row.
struct GreyPicture {
    int size = 0;
    std::vector<std::uint8_t> values;
    int centre() const { return size / 2; }
    int at(int x, int y) const { return values[static_cast<std::size_t>(y) * size + x]; }
};

// Magnitude to class: nearest integer (ties to even) or cut, minus the offset,
// and 0 when negative.
struct ClassTable {
    int offset = 0;
    bool cut = false;
    int ClassOf(Extended magnitude) const;
};

// A point-spread template with its diffraction cross, integer values.
std::vector<int> PsfTemplate(int amplitude, double sigma);

class StarKit {
public:
    StarKit();
    // The kit computed once for the whole program.
    static const StarKit& Shared();

    const GreyPicture& Small(int k) const { return small_[Clamp(k)]; }
    const GreyPicture& Large(int k) const { return large_[Clamp(k)]; }

    // Draws small picture k centred at (x, y): every value of at least 30
    // replaces a target pixel whose red is below it. Clipped at the edges.
    void DrawSmall(Raster& target, int k, int x, int y) const;

    static int Clamp(int k) { return k < 0 ? 0 : (k >= StarClasses ? StarClasses - 1 : k); }

private:
    struct Spot {
        int dx, dy;
        std::uint8_t v;
    };
    GreyPicture small_[StarClasses];
    GreyPicture large_[StarClasses];
    std::vector<Spot> spots_[StarClasses];  // the small pictures' values >= 30
};

// The projection of one created field (hours, degrees, pixels).
struct FieldProjection {
    Extended ra0 = 0, dec0 = 0;
    Extended x0 = 0, y0 = 0;
    Extended sx = 1;  // pixels per hour of right ascension on the equator
    Extended sy = 1;  // pixels per degree

    // Field of width x height pixels spanning `angle` degrees vertically.
    static FieldProjection Make(Extended ra0, Extended dec0, int width, int height, Extended angle);
    Extended X(Extended dec, Extended ra) const;  // east to the left
    Extended Y(Extended dec) const;               // north up
    // The inverse of X; near a pole the cosine is held off zero.
    Extended RA(Extended dec, Extended x) const;
};

}  // namespace qnr::observatory
