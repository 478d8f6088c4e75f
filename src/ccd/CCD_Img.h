#pragma once
// The CCD camera's synthetic image: bias, read noise and dark current, the
// galaxy light of the telescope view, the instrument field's stars, quasars
// and asteroid trails, then full-well saturation, gain and converter clipping.
// Every photon-like count goes through Noise on the one process-wide
// generator, in a fixed order, so a seeded build is reproducible.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astro/Raster.h"
#include "astro/Types.h"
#include "catalogs/FieldObject.h"
#include "platform/Services.h"

namespace qnr::app { struct OptsRec; struct CameraBlock; struct TelescopeEntry; }

namespace qnr {

class GSCFieldObj;

namespace ccd {

inline constexpr const char* NoMemoryText = "Insufficient memory to create image.  You cannot use the CCD camera!";
inline constexpr const char* NoMemoryCaption = "Not Enough Memory!";
inline constexpr const char* BadOpticsCaption = "Invalid Camera Options!";

// A uniform deviate of full width 3 sqrt(n) centred on n; Noise(0) is 0.
Extended Noise(Extended n);

// width x height single-precision values, row-major, x the column.
class ImgArrayObj {
public:
    bool Allocate(int width, int height);
    float Get(int x, int y) const { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    void Set(int x, int y, float v) { data_[static_cast<std::size_t>(y) * width_ + x] = v; }
    float& At(int x, int y) { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<float>& values() const { return data_; }
    std::vector<float>& values() { return data_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<float> data_;
};

// The chip's field in arcminutes at a telescope.
struct ChipSize {
    Extended width = 0;
    Extended height = 0;
};
ChipSize ChipFieldSize(const app::CameraBlock& camera, const app::TelescopeEntry& telescope);

// Why these options cannot make an image (a zero or negative pixel size or
// focal length would make the plate scale and the seeing width nonsense);
// nothing when they can.
std::optional<std::string> CameraOptionsProblem(const app::OptsRec& opts, int telescope);

// An object's magnitude through filter position 0-4. An unknown colour
// (30 or more) counts as 0, so a missing B-V never makes a star blinding.
Extended FilterMagnitude(const FieldObject& object, int filter);

// The objects of the instrument field that fall on the chip.
class CCDFieldObj {
public:
    void Setup(const app::OptsRec& opts, int telescope, Extended exposureSeconds, Extended dec, Extended ra);
    // Adds the asteroids at the start and end of the exposure to `field`
    // first, when it has an asteroid list.
    void Collect(GSCFieldObj& field, Extended jd);
    // Projects one entry (two random draws, on the chip or not); true and
    // the pixel position when it lands on the chip.
    bool Project(double raHours, double decDeg, double& x, double& y);
    // The pixel position of an exact catalog place, without the jitter and
    // whether on the chip or not; false on the far side of the sky.
    bool Place(double raHours, double decDeg, double& x, double& y) const;

    std::vector<FieldObject> list;
    Extended exposureDays = 0;
    Extended ra0 = 0, dec0 = 0, cosDec0 = 1, sinDec0 = 0;
    Extended jitter = 0;
    Extended halfWidth = 0, halfHeight = 0;
    Extended x0 = 0, y0 = 0, dx = 1, dy = -1;
};

// Draws Gaussian images with faint diffraction spikes, and trails.
class CCDStarImgObj {
public:
    void Prepare(const app::OptsRec& opts, int telescope, ImgArrayObj& array);
    // Peak counts per base exposure of a source of magnitude m: the base
    // count at base magnitude + offset, 2.512 times more per magnitude brighter.
    Extended PeakCounts(Extended m) const;
    void DrawStar(Extended exposure, Extended y, Extended x, Extended m);
    void DrawTrail(Extended exposure, Extended yEnd, Extended xEnd, Extended yStart, Extended xStart, Extended m);

    Extended sx = 1, sy = 1;          // arcseconds per pixel
    Extended sigmaX = 1, sigmaY = 1;  // pixels
    Extended offset = 0;

private:
    int BoxFactor(Extended g) const;
    void Spikes(int cx, int cy, int rx, int ry, Extended amount);

    ImgArrayObj* array_ = nullptr;
    Extended baseMagnitude_ = 10, baseCount_ = 1000, baseExposure_ = 10;
};

// 256 bins of width 256 over the background samples.
class BackgroundHistogram {
public:
    void Clear();
    void Add(double sample) {
        const double v = sample < 0 ? 0 : sample;
        const double bin = v < 65280 ? v * (1.0 / 256) : 255;
        ++bins_[static_cast<std::size_t>(bin)];
        ++n_;
        sum_ += v;
        sumSq_ += v * v;
    }
    Extended Mean() const;
    Extended StdDev() const;  // sample standard deviation; 0 for fewer than 2
    const std::array<std::int64_t, 256>& bins() const { return bins_; }
    std::int64_t count() const { return n_; }

private:
    std::array<std::int64_t, 256> bins_{};
    std::int64_t n_ = 0;
    double sum_ = 0, sumSq_ = 0;  // whole samples: exact while the sums stay below 2^53
};

// Pixel value to palette index: 64 below the low cut, 127 above the high cut.
struct DisplayMapping {
    std::int64_t low = 0;
    std::int64_t range = 1;
    std::uint8_t IndexOf(float v) const;
};
// Low cut at mean + 0.75 s, high cut 12 s above it. A flat background
// (s = 0) would leave a zero range to divide by: the range is at least 1.
DisplayMapping MakeDisplayMapping(const BackgroundHistogram& histogram);

// The 256 grey levels of the display palette.
std::array<std::uint8_t, 256> DisplayGreys();

// The camera-window settings and the telescope view's galaxy light a build uses.
struct CameraSettings {
    int telescope = 0;
    int gain = 1;    // electrons per ADU: 1, 2 or 5
    int filter = 0;  // 0 none, 1 B, 2 V, 3 R, 4 I
    GSCFieldObj* field = nullptr;       // the instrument field
    const Raster* galaxyLayer = nullptr;  // null when no galaxy was drawn
    // The galaxies drawn into the layer, boxes in its pixels: those whose
    // light reaches the chip enter the key.
    const std::vector<DrawnGalaxy>* layerGalaxies = nullptr;
    Extended viewFieldArcmin = 15;      // the angle the galaxy layer's width covers
};

// What landed on the chip in the last build: the answer key of the image.
struct KeyEntry {
    std::string name;
    int kind = 0;
    double x = 0, y = 0;  // start position of an asteroid; a galaxy's catalog position
    Extended magnitude = 0;
};

class CCDImageObj {
public:
    CCDImageObj(platform::Services& services, const app::OptsRec& opts);

    // The whole synthesis; false (after its message) when no image can be made.
    bool Build(Extended exposureSeconds, Extended jd, Extended dec, Extended ra, const CameraSettings& settings);
    // The palette indexes of the display, row by row (width x height).
    std::vector<std::uint8_t> DisplayIndexes() const;

    ImgArrayObj array;
    CCDFieldObj field;
    CCDStarImgObj drawer;
    BackgroundHistogram histogram;
    DisplayMapping mapping;
    float minValue = 0, maxValue = 0;
    std::vector<KeyEntry> key;

private:
    void Background(Extended exposure, int gain);
    void GalaxyLight(Extended exposure, const CameraSettings& settings);
    // The galaxies whose light the chip took, after the stars.
    void GalaxyKey(const CameraSettings& settings);
    void Objects(Extended exposure, int filter);
    void Scale(int gain);

    platform::Services& services_;
    const app::OptsRec& opts_;
};

}  // namespace ccd
}  // namespace qnr
