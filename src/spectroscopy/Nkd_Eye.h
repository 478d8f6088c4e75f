#pragma once
// The naked-eye star file "NkdEye.dat": 20-byte records of the bright stars
// the dome slit shows (J2000.0 positions and V), no header.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astro/BinFile.h"
#include "astro/Coords.h"
#include "astro/Raster.h"
#include "astro/Types.h"

namespace qnr::platform { struct Services; }

namespace qnr {

inline constexpr const char* NakedEyeFileName = "NkdEye.dat";
inline constexpr std::size_t NakedEyeRecordSize = 20;

struct NakedEyeStar {
    double ra = 0;   // hours, J2000.0
    double dec = 0;  // degrees, J2000.0
    Single V = 0;
};

template <class V>
void VisitNakedEyeStar(V& v, NakedEyeStar& s) {
    v.dbl(s.ra);
    v.dbl(s.dec);
    v.single(s.V);
}

Bytes EncodeNakedEyeStars(const std::vector<NakedEyeStar>& stars);
// Every whole record; a short tail is ignored.
std::vector<NakedEyeStar> DecodeNakedEyeStars(const Bytes& bytes);

// ---- The dome sky: the bright stars in a window centred at 45 degrees
// altitude in the direction the telescope points.

inline constexpr double NakedEyeLimitMag = 5.5;
inline constexpr int DomeSkyWidth = 240;

struct NakedEyeSelected {
    double ra = 0, dec = 0;  // hours, degrees (catalog)
    Single V = 0;
    double altitude = 0, azimuth = 0;  // degrees
    double x = 0, y = 0;               // picture pixels
    std::uint8_t k = 0;                // star picture class
};

// The pointing the view looks along; none before the telescope has one.
struct DomePointing {
    Extended ra = 0;   // hours, J2000.0
    Extended dec = 0;  // degrees
};

class NakedEyeSky {
public:
    // displayHeight: the telescope display's height the picture is made for.
    NakedEyeSky(platform::Services& services, std::string programFolder, int displayHeight = 312);

    // Selects the stars; false when none (or the file cannot be read, after its message).
    bool Compute(const Site& site, Extended jd, const std::optional<DomePointing>& pointing);
    // The dome sky picture, 240 by (height - 10), from the last Compute.
    void Render();
    const Raster& picture() const { return picture_; }
    bool hasPicture() const { return picture_.width > 0; }

    // The selected star within 10 pixels of (a, b), nearest first-found.
    std::optional<std::size_t> Identify(double a, double b) const;
    const std::vector<NakedEyeSelected>& stars() const { return stars_; }
    double centreAzimuth() const { return centreAzimuth_; }

    // The data dialog's fields.
    struct Texts {
        std::string ra, dec, mag;
    };
    static Texts DataTexts(const NakedEyeSelected& star);

private:
    platform::Services& services_;
    std::string programFolder_;
    int height_;
    double centreAzimuth_ = 180;
    std::vector<NakedEyeSelected> stars_;
    Raster picture_;
};

}  // namespace qnr
