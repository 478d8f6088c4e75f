#include "observatory/FieldView.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/Options.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr::observatory {

namespace {

constexpr const char* M31Text = "M31 Image Too Large to Load!\r\n\r\nSorry about that. (We're working on it.)";
constexpr const char* M31Caption = "Image Too Large!";
constexpr const char* NoStarsText = "No Catalog Stars Found in Region.";

double Frac(double x) { return x - std::trunc(x); }

int Round(Extended x) { return static_cast<int>(std::nearbyint(x)); }

// The glow's brightness curve: faint values dropped, the rest lifted.
const std::array<int, 256>& GlowCurve() {
    static const std::array<int, 256> curve = [] {
        std::array<int, 256> c{};
        for (int v = 0; v < 256; ++v)
            c[static_cast<std::size_t>(v)] =
                v < 15 ? 0 : v < 120 ? static_cast<int>(std::nearbyint(120 * std::sqrt((v - 15) / 105.0))) : v;
        return c;
    }();
    return curve;
}

void Brighten(Raster& r, int x, int y, int v) {
    if (v <= 0 || !r.contains(x, y)) return;
    std::uint32_t& p = r.at(x, y);
    if (RedOf(p) < v) p = Rgb(v, v, v);
}

}  // namespace

double GalaxyAxisRatio(const GalaxyEntry& g) {
    double ratio = 1.0;
    if (g.major > 0 && g.minor > 0) {
        ratio = static_cast<double>(g.minor) / g.major;
    } else {
        const int t = g.typeCode;
        if (t <= -4)
            ratio = 1.0;
        else if (t == -3)
            ratio = 0.9;
        else if (t == -2)
            ratio = 0.8;
        else if (t == -1)
            ratio = 0.7;
        else if (t == 0)
            ratio = 0.6;
        else if ((t >= 1 && t <= 8) || t == 20)
            ratio = Frac(g.ra * 1000);
    }
    return std::clamp(ratio, MinAxisRatio, 1.0);
}

double GalaxyAngle(const GalaxyEntry& g) {
    if (g.positionAngle != 0) return (g.positionAngle + 90) * static_cast<double>(DegToRad);
    return Frac(g.dec * 1000) * 2 * static_cast<double>(Pi);
}

int EvenOutline(Extended size) {
    int n = Round(size);
    if (n % 2 != 0) ++n;
    return n;
}

FieldObject GalaxyAsObject(const GalaxyEntry& g) {
    FieldObject o;
    o.name = g.name.substr(0, FieldObjectNameLength);
    o.ra = g.ra;
    o.dec = g.dec;
    o.V = g.magnitude;
    o.BV = g.BV;
    o.UB = g.UB;
    o.bvAssigned = g.BV < NoMagnitude;
    o.ubAssigned = g.UB < NoMagnitude;
    o.kind = KindGalaxy;
    o.spType = g.spType;
    o.x = g.x;
    o.y = g.y;
    return o;
}

FieldView::FieldView(const app::OptsRec& opts, SkyCatalogs& catalogs, const StarKit& kit)
    : opts_(opts), catalogs_(catalogs), kit_(kit), view_(ViewSize, ViewSize) {}

std::vector<platform::Message> FieldView::TakeNotices() {
    std::vector<platform::Message> out;
    out.swap(notices_);
    return out;
}

ViewOutcome FieldView::Update(const ViewRequest& request) {
    if (building_) return ViewOutcome::Kept;
    const Extended mag = request.telescope && opts_.instrumentField > 0
                             ? static_cast<Extended>(opts_.finderField) * 60 / opts_.instrumentField
                             : 1;
    bool need = !haveField_ || mag != fieldMagnification_ || request.timeChanged || fieldTelescope_ != request.telescope;
    const int factor = std::max(1, static_cast<int>(opts_.fieldCreationFactor));
    if (!need) {
        const int cx = Round(proj_.X(request.dec, request.ra) - ViewSize / 2);
        const int cy = Round(proj_.Y(request.dec) - ViewSize / 2);
        const int limit = (factor - 1) * ViewSize;
        if (cx > 0 && cx < limit && cy > 0 && cy < limit) {
            cornerX_ = cx;
            cornerY_ = cy;
        } else {
            need = true;
        }
    }
    ViewOutcome outcome = ViewOutcome::Shown;
    if (need) {
        // A message of the last build is still to be read: no new build behind it.
        if (noticeUp_ || !notices_.empty()) return ViewOutcome::Kept;
        building_ = true;
        outcome = CreateField(request);
        building_ = false;
        if (outcome != ViewOutcome::Built) return outcome;
    }
    CutView();
    return outcome;
}

ViewOutcome FieldView::CreateField(const ViewRequest& request) {
    const FieldKind kind = request.telescope ? FieldKind::Instrument : FieldKind::Finder;
    const Extended angle = request.telescope ? static_cast<Extended>(opts_.instrumentField) / 60 : opts_.finderField;
    const FieldLimits limits = catalogs_.ViewLimits(kind, static_cast<double>(request.ra), static_cast<double>(request.dec));
    catalogs_.SetTelescope(request.telescopeIndex);
    const FieldStatus status = catalogs_.OpenField(kind, limits, request.jd);
    if (status == FieldStatus::NotAvailable) {
        haveField_ = false;
        notices_.push_back({FieldNotAvailableText, FieldNotAvailableCaption, platform::Buttons::OK, platform::Icon::Warning});
        finderFallback_ = true;
        return ViewOutcome::NotAvailable;
    }
    if (status != FieldStatus::Opened) return ViewOutcome::Kept;

    const int factor = std::max(1, static_cast<int>(opts_.fieldCreationFactor));
    const int size = factor * ViewSize;
    Extended ra0 = request.ra;
    if (limits.MaxRA - limits.MinRA < -12 && ra0 > 12) ra0 -= 24;
    proj_ = FieldProjection::Make(ra0, request.dec, size, size, factor * angle);
    // A field made again at the same place gets the same seed; it is kept
    // for the instruments rather than pressed on the shared generator, whose
    // noise must run on across rebuilds.
    seed_ = static_cast<std::uint32_t>(static_cast<std::int64_t>(
        std::nearbyint(limits.MinRA + limits.MaxRA + limits.MinDec + limits.MaxDec)));

    if (request.telescope) {
        if (!apertureSet_) outlines_.apertureRadius = 10;
        apertureSet_ = true;
        apertureDegrees_ = (outlines_.apertureRadius + 0.5L) / proj_.sy;
    }
    if (opts_.finderField > 0 && opts_.instrumentField > 0) {
        outlines_.finderSquare = EvenOutline(static_cast<Extended>(ViewSize) * opts_.instrumentField / (opts_.finderField * 60));
        outlines_.ccdWidth = EvenOutline(ViewSize * request.cameraWidth / opts_.instrumentField);
        outlines_.ccdHeight = EvenOutline(ViewSize * request.cameraHeight / opts_.instrumentField);
    }

    GSCFieldObj& f = catalogs_.field(kind);
    const ClassTable atProjection{1, false};
    f.objects.Reset();
    while (FieldObject* o = f.objects.Next()) {
        o->x = static_cast<double>(proj_.X(o->dec, o->ra));
        o->y = static_cast<double>(proj_.Y(o->dec));
        if (o->kind == KindStar || o->kind == KindAsteroid || o->kind == KindQuasar)
            o->symbolSize = static_cast<std::uint8_t>(std::min(255, atProjection.ClassOf(o->V)));
    }
    f.objects.Reset();
    fieldTelescope_ = request.telescope;
    DrawField(request, f);
    fieldMagnification_ = request.telescope && opts_.instrumentField > 0
                              ? static_cast<Extended>(opts_.finderField) * 60 / opts_.instrumentField
                              : 1;
    haveField_ = true;
    ++builds_;
    cornerX_ = Round(proj_.x0 - ViewSize / 2);
    cornerY_ = Round(proj_.y0 - ViewSize / 2);
    return ViewOutcome::Built;
}

void FieldView::Light(int x, int y, int v, DrawnGalaxy& drawn) {
    if (v <= 0 || !field_.contains(x, y)) return;
    Brighten(field_, x, y, v);
    if (drawn.right < drawn.left) {
        drawn.left = drawn.right = x;
        drawn.top = drawn.bottom = y;
        return;
    }
    drawn.left = std::min(drawn.left, x);
    drawn.right = std::max(drawn.right, x);
    drawn.top = std::min(drawn.top, y);
    drawn.bottom = std::max(drawn.bottom, y);
}

void FieldView::DrawGlow(const GalaxyEntry& g, int k, DrawnGalaxy& drawn) {
    const GreyPicture& pic = kit_.Large(k);
    const double major = g.major == 0 ? 0.5 : g.major;
    double a = static_cast<double>(proj_.sy) / 60 * major / 2;
    if (a < 3) a = 3;
    const double b = std::max(1.0, std::nearbyint(GalaxyAxisRatio(g) * a));
    const double theta = GalaxyAngle(g);
    const double c = std::cos(theta), s = std::sin(theta);
    const int cx = Round(g.x), cy = Round(g.y);
    const int reach = static_cast<int>(std::ceil(a)) + 1;
    const int pc = pic.centre();
    const std::array<int, 256>& curve = GlowCurve();
    for (int j = -reach; j <= reach; ++j) {
        const int ty = cy + j;
        if (ty < 0 || ty >= field_.height) continue;
        for (int i = -reach; i <= reach; ++i) {
            const int tx = cx + i;
            if (tx < 0 || tx >= field_.width) continue;
            const double u = std::nearbyint(i * c - j * s);
            const double w = std::nearbyint(j * c + i * s);
            if (std::fabs(u) > a || std::fabs(w) > b) continue;
            const int sxp = std::clamp(pc + static_cast<int>(std::nearbyint(u * pc / a)), 0, pic.size - 1);
            const int syp = std::clamp(pc + static_cast<int>(std::nearbyint(w * pc / b)), 0, pic.size - 1);
            Light(tx, ty, curve[static_cast<std::size_t>(pic.at(sxp, syp))], drawn);
        }
    }
}

void FieldView::DrawField(const ViewRequest& request, GSCFieldObj& f) {
    const int size = static_cast<int>(2 * proj_.x0);
    field_ = Raster(size, size, Rgb(0, 0, 0));
    const ClassTable large{request.telescope ? 6 : 1, false};
    bool drawn = false;
    std::vector<DrawnGalaxy> galaxies;
    f.galaxies.Reset();
    while (GalaxyEntry* g = f.galaxies.Next()) {
        g->x = static_cast<double>(proj_.X(g->dec, g->ra));
        g->y = static_cast<double>(proj_.Y(g->dec));
        if (request.telescope && ContainsDesignation(g->name, "NGC 224")) {
            notices_.push_back({M31Text, M31Caption, platform::Buttons::OK, platform::Icon::Information});
            continue;
        }
        DrawnGalaxy lit{GalaxyAsObject(*g)};
        if (g->image && g->image->image) {
            g->image->entry.x = g->x;
            g->image->entry.y = g->y;
            const auto [ox, oy] = g->image->Origin();
            const GreyImage& img = *g->image->image;
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < img.width; ++x)
                    Light(ox + x, oy + y, img.grey[static_cast<std::size_t>(y) * img.width + x], lit);
        } else {
            DrawGlow(*g, StarKit::Clamp(large.ClassOf(g->magnitude) - request.scopeOffset), lit);
        }
        galaxies.push_back(std::move(lit));
        drawn = true;
    }
    f.galaxies.Reset();
    if (request.telescope) {
        galaxyLayer_ = field_;
        galaxiesDrawn_ = drawn;
        layerGalaxies_ = std::move(galaxies);
    }
    if (f.objects.IsEmpty())
        notices_.push_back({NoStarsText, "Warning", platform::Buttons::OK, platform::Icon::Warning});
    smallTable_ = ClassTable{-2, false};
    const int offset = request.telescope ? request.scopeOffset : request.finderOffset;
    f.objects.Reset();
    while (const FieldObject* o = f.objects.Next()) {
        if (o->kind != KindStar && o->kind != KindAsteroid && o->kind != KindQuasar) continue;
        kit_.DrawSmall(field_, StarKit::Clamp(o->symbolSize - offset), Round(o->x), Round(o->y));
    }
    f.objects.Reset();
}

void FieldView::CutView() {
    for (int y = 0; y < ViewSize; ++y) {
        const int fy = cornerY_ + y;
        std::uint32_t* out = &view_.at(0, y);
        if (fy < 0 || fy >= field_.height) {
            std::fill(out, out + ViewSize, Rgb(0, 0, 0));
            continue;
        }
        for (int x = 0; x < ViewSize; ++x) {
            const int fx = cornerX_ + x;
            out[x] = fx >= 0 && fx < field_.width ? field_.at(fx, fy) : Rgb(0, 0, 0);
        }
    }
}

int FieldView::CentreBrightness() const {
    const int c = ViewSize / 2;
    long sum = 0;
    for (int y = c - 9; y <= c + 9; ++y)
        for (int x = c - 1; x <= c + 1; ++x) {
            const std::uint32_t p = view_.at(x, y);
            sum += RedOf(p) + GreenOf(p) + BlueOf(p);
        }
    return Round(static_cast<Extended>(sum) / 57);
}

void FieldView::SetPhotometerAperture(int radius) {
    apertureSet_ = true;
    outlines_.apertureRadius = radius;
    // Only a telescope field has the aperture's scale; the next one applies it.
    if (haveField_ && fieldTelescope_) apertureDegrees_ = (radius + 0.5L) / proj_.sy;
}

std::optional<FieldObject> FieldView::CurrentObject(const ViewRequest& request, InstrumentAcceptance* instrument) {
    if (!haveField_ || !fieldTelescope_) return std::nullopt;
    GSCFieldObj& f = catalogs_.instrument;
    const PointResult r = f.ObjectAtPoint(static_cast<double>(proj_.X(request.dec, request.ra)),
                                          static_cast<double>(proj_.Y(request.dec)),
                                          static_cast<double>(proj_.sy), instrument);
    if (r.what == PointResult::What::Object) {
        if (const FieldObject* o = f.objects.ItemAt(r.index)) return *o;
    } else if (r.what == PointResult::What::Galaxy) {
        if (const GalaxyEntry* g = f.galaxies.ItemAt(r.index)) return GalaxyAsObject(*g);
    }
    return std::nullopt;
}

std::optional<Identified> FieldView::Identify(int viewX, int viewY, bool rightButton) {
    if (!haveField_) return std::nullopt;
    GSCFieldObj& f = catalogs_.field(fieldTelescope_ ? FieldKind::Instrument : FieldKind::Finder);
    const double fx = cornerX_ + viewX, fy = cornerY_ + viewY;
    NearestResult s = f.NearestObject(fx, fy, rightButton);
    NearestResult g = f.NearestGalaxy(fx, fy);
    const double ds = s.index >= 0 ? s.distance : 1000;
    const double dg = g.index >= 0 ? g.distance : 1000;
    Identified id;
    if (s.index >= 0 && ds < dg) {
        const FieldObject* o = f.objects.ItemAt(s.index);
        if (!o) return std::nullopt;
        id.star = true;
        id.index = s.index;
        id.object = *o;
    } else if (g.index >= 0) {
        const GalaxyEntry* e = f.galaxies.ItemAt(g.index);
        if (!e) return std::nullopt;
        id.index = g.index;
        id.object = GalaxyAsObject(*e);
    } else {
        return std::nullopt;
    }
    id.viewX = Round(id.object.x) - cornerX_;
    id.viewY = Round(id.object.y) - cornerY_;
    marked_ = std::make_pair(id.viewX, id.viewY);
    return id;
}

namespace {
std::string Trimmed(std::string s) {
    const auto p = s.find_first_not_of(' ');
    return p == std::string::npos ? std::string() : s.substr(p);
}
std::string Dms(Extended degrees) { return Trimmed(SexaStr(std::fabs(degrees), 0, "\xB0", "'", "\"")); }
}  // namespace

std::vector<std::string> SiteReportLines(const app::OptsRec& opts, int telescope) {
    std::vector<std::string> lines;
    const app::TelescopeEntry* t =
        telescope >= 0 && telescope < 3 ? &opts.telescopes[static_cast<std::size_t>(telescope)] : nullptr;
    const Extended lon = opts.siteLongitude * RadToDeg, lat = opts.siteLatitude * RadToDeg;
    lines.push_back("Site Name/ID: " + opts.siteName);
    lines.push_back("Longitude: " + Dms(lon) + (lon >= 0 ? " E" : " W"));
    lines.push_back("Latitude: " + Dms(lat) + (lat >= 0 ? " N" : " S"));
    lines.push_back("Altitude: " + FixedStr(opts.siteAltitude, 1) + " Meters");
    if (opts.limitSlewing) lines.push_back("Horizon Height: " + FixedStr(opts.siteHorizonLimit * RadToDeg, 1) + " Degrees");
    const Extended zone = t ? static_cast<Extended>(t->utMinusLocal) : static_cast<Extended>(opts.zoneHours);
    lines.push_back("Time Zone (UT-Local Time): " + FixedStr(zone, 1) + (zone == 1 ? " Hour" : " Hours"));
    lines.push_back("");
    lines.push_back("Telescope: " + (t ? t->name : std::string()));
    lines.push_back("Aperture: " + FixedStr(t ? t->aperture : 0.0f, 1) + " mm");
    lines.push_back("Focal Length: " + FixedStr(t ? t->focalLength : 0.0f, 1) + " mm");
    return lines;
}

Raster FieldView::ViewGalaxyLayer() const {
    Raster view(ViewSize, ViewSize, 0xFF000000u);
    for (int y = 0; y < ViewSize; ++y)
        for (int x = 0; x < ViewSize; ++x)
            if (galaxyLayer_.contains(cornerX_ + x, cornerY_ + y)) view.at(x, y) = galaxyLayer_.at(cornerX_ + x, cornerY_ + y);
    return view;
}

std::vector<DrawnGalaxy> FieldView::ViewGalaxies() const {
    std::vector<DrawnGalaxy> out = layerGalaxies_;
    for (DrawnGalaxy& g : out) {
        g.left -= cornerX_;
        g.right -= cornerX_;
        g.top -= cornerY_;
        g.bottom -= cornerY_;
    }
    return out;
}

SkyImageTexts SkyImagePrintTexts(const app::OptsRec& opts, bool telescopeField, int telescope,
                                 int instrumentPosition, Extended ra, Extended dec) {
    static const char* names[] = {"Infrared Camera", "CCD Camera", "Photoelectric Photometer", "Spectrometer"};
    SkyImageTexts t;
    t.rightAscension = "Right Ascension:" + SexaStr(ra, 1, "h ", "m ", "s");
    t.declination = "Declination:    " + SexaStr(dec, 0, "\xB0 ", "' ", "\"");
    t.fieldSize = "Field Size: " + (telescopeField ? FixedStr(opts.instrumentField, 1) + " Arc Minutes"
                                                   : FixedStr(opts.finderField, 1) + " Degrees");
    t.telescope = "Telescope: " + (telescope >= 0 && telescope < 3 ? opts.telescopes[static_cast<std::size_t>(telescope)].name
                                                                    : std::string());
    t.instrument = std::string("Instrument: ") +
                   (telescopeField ? names[std::clamp(instrumentPosition + 1, 0, 3)] : "Finder");
    return t;
}

}  // namespace qnr::observatory
