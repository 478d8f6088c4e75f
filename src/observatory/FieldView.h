#pragma once
// What the telescope window shows on its display: the finder's wide view or
// the magnified telescope view, cut from a created field three times the
// view's size so that drift and slews only move a window over a ready
// picture. Also the centre values the instruments read, the instrument
// outlines, identification by clicking and the site report.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "astro/Raster.h"
#include "astro/Types.h"
#include "catalogs/FieldObject.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/StarKit.h"
#include "platform/Dialogs.h"

namespace qnr::app { struct OptsRec; }

namespace qnr::observatory {

inline constexpr int ViewSize = 312;

// Instrument numbers of the data model (InstSlider position + 1).
inline constexpr int InstrumentInfrared = 0;
inline constexpr int InstrumentCcd = 1;
inline constexpr int InstrumentPhotometer = 2;
inline constexpr int InstrumentSpectrometer = 3;

// The smallest minor-to-major axis ratio a galaxy is given. The fallback
// ratio frac(RA x 1000) is 0 for many right ascensions (12.5 h, 3.25 h...),
// which would flatten the glow to nothing and divide by zero in the shape
// test; the photometer and the galaxy spectra take the ratio from here too.
inline constexpr double MinAxisRatio = 0.1;
double GalaxyAxisRatio(const GalaxyEntry& galaxy);
// Position angle of the glow, radians.
double GalaxyAngle(const GalaxyEntry& galaxy);

// A size rounded and then made even (odd sizes get 1 added).
int EvenOutline(Extended size);

// Everything one redraw depends on.
struct ViewRequest {
    bool telescope = false;  // false: the finder view
    int instrument = InstrumentSpectrometer;
    Extended ra = 0, dec = 0;  // pointing, hours and degrees
    Extended jd = 0;           // observation clock
    int finderOffset = 0, scopeOffset = 0;
    int telescopeIndex = 0;  // whose scale galaxy pictures take
    Extended cameraWidth = 0, cameraHeight = 0;  // arcminutes
    bool timeChanged = false;
};

// The outlines of the view, in view pixels.
struct ViewOutlines {
    int finderSquare = 0;
    int ccdWidth = 0, ccdHeight = 0;
    int apertureRadius = 10;
};

enum class ViewOutcome {
    Shown,         // the view shows the field around the pointing
    Built,         // a new field was created for it (the time-changed flag is used up)
    Kept,          // no field could be made; the display stays as it was
    NotAvailable,  // the telescope field is outside the exercise: fall back to the finder
};

struct Identified {
    bool star = false;
    int index = -1;  // in the field's objects or galaxies
    int viewX = 0, viewY = 0;
    FieldObject object;  // a galaxy in the star record layout
};

class FieldView {
public:
    FieldView(const app::OptsRec& opts, SkyCatalogs& catalogs, const StarKit& kit = StarKit::Shared());

    // Brings the view to the pointing, creating a field when the rule asks.
    // Never builds while a notice from an earlier build is still up.
    ViewOutcome Update(const ViewRequest& request);
    // The next Update creates a new field (telescope change, new date).
    void Forget() { haveField_ = false; }

    // Messages found while building: shown by the window once, after the
    // tick or paint that built the field. While they are up no field is built.
    std::vector<platform::Message> TakeNotices();
    bool hasNotices() const { return !notices_.empty(); }
    // After the "Field Not Available!" notice the view falls back to the
    // finder: true once per such notice.
    bool TakeFinderFallback() { return std::exchange(finderFallback_, false); }
    void SetNoticeUp(bool up) { noticeUp_ = up; }

    bool haveField() const { return haveField_; }
    const Raster& field() const { return field_; }
    const Raster& galaxyLayer() const { return galaxyLayer_; }
    // The view's window of the galaxy layer (ViewSize square, centred on the
    // pointing): what the camera spreads over the instrument field.
    Raster ViewGalaxyLayer() const;
    bool galaxiesDrawn() const { return galaxiesDrawn_; }
    // The galaxies of the telescope field's galaxy layer, their boxes in the
    // pixels of ViewGalaxyLayer() (so partly or wholly outside it).
    std::vector<DrawnGalaxy> ViewGalaxies() const;
    // The view-sized window of the field (no outlines).
    const Raster& view() const { return view_; }
    int cornerX() const { return cornerX_; }
    int cornerY() const { return cornerY_; }
    const FieldProjection& projection() const { return proj_; }
    bool telescopeField() const { return fieldTelescope_; }
    const ViewOutlines& outlines() const { return outlines_; }
    // The seed a rebuild of this field would give: instruments that need
    // field-fixed numbers seed their own generator with it.
    std::uint32_t fieldSeed() const { return seed_; }
    int builds() const { return builds_; }

    // Red + green + blue over columns cx-1..cx+1, rows cy-9..cy+9 of the view,
    // divided by 57 and rounded.
    int CentreBrightness() const;
    // The photometer's aperture in view pixels; its angular radius in degrees.
    void SetPhotometerAperture(int radius);
    Extended apertureDegrees() const { return apertureDegrees_; }

    // The object at the pointing in the instrument field; within a galaxy's
    // glow the instrument's acceptance (when given) decides between the
    // nearest object and the galaxy.
    std::optional<FieldObject> CurrentObject(const ViewRequest& request, InstrumentAcceptance* instrument = nullptr);
    // The object nearest a click at a view point (Edit Mode).
    std::optional<Identified> Identify(int viewX, int viewY, bool rightButton);
    // The marked object's view position.
    std::optional<std::pair<int, int>> marked() const { return marked_; }
    void ForgetMarked() { marked_.reset(); }

private:
    ViewOutcome CreateField(const ViewRequest& request);
    void DrawField(const ViewRequest& request, GSCFieldObj& f);
    void DrawGlow(const GalaxyEntry& g, int k, DrawnGalaxy& drawn);
    // Lights a field pixel and widens the galaxy's box when it does.
    void Light(int x, int y, int v, DrawnGalaxy& drawn);
    void CutView();

    const app::OptsRec& opts_;
    SkyCatalogs& catalogs_;
    const StarKit& kit_;

    bool haveField_ = false;
    bool fieldTelescope_ = false;
    Extended fieldMagnification_ = 0;
    FieldProjection proj_;
    Raster field_, galaxyLayer_, view_;
    bool galaxiesDrawn_ = false;
    std::vector<DrawnGalaxy> layerGalaxies_;  // boxes in field pixels
    int cornerX_ = 0, cornerY_ = 0;
    ClassTable smallTable_{1, false};
    ViewOutlines outlines_;
    bool apertureSet_ = false;
    Extended apertureDegrees_ = 0;
    std::uint32_t seed_ = 0;
    int builds_ = 0;
    bool building_ = false;
    bool noticeUp_ = false;
    bool finderFallback_ = false;
    std::vector<platform::Message> notices_;
    std::optional<std::pair<int, int>> marked_;
};

// The galaxy handed to an instrument in the star record layout (kind 1).
FieldObject GalaxyAsObject(const GalaxyEntry& galaxy);

// The lines of "Current Site & Telescope Parameters".
std::vector<std::string> SiteReportLines(const app::OptsRec& opts, int telescope);

// The texts under a printed sky image. telescope: -1 none; instrumentPosition:
// 0 CCD camera, 1 photometer, 2 spectrometer.
struct SkyImageTexts {
    std::string rightAscension, declination, fieldSize, telescope, instrument;
};
SkyImageTexts SkyImagePrintTexts(const app::OptsRec& opts, bool telescopeField, int telescope,
                                 int instrumentPosition, Extended ra, Extended dec);

}  // namespace qnr::observatory
