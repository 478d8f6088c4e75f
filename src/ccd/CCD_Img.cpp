#include "ccd/CCD_Img.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "app/Options.h"
#include "astro/MathStd.h"
#include "astro/Random.h"
#include "catalogs/Star_Cat.h"

namespace qnr::ccd {

namespace {

constexpr Extended ArcsecPerRadian = 206264.8L;
constexpr Extended DegToRadL = 3.14159265358979323846264338327950288L / 180;

long long RoundInt(Extended v) { return static_cast<long long>(std::nearbyint(v)); }

bool Known(Single v) { return v < NoMagnitude; }

}  // namespace

Extended Noise(Extended n) {
    if (n <= 0) return n;  // Noise(0) is 0; no negative count reaches sqrt
    const Extended r = std::sqrt(n);
    return n - 1.5L * r + 3 * r * static_cast<Extended>(RandomReal());
}

namespace {
// The per-pixel form: the same deviate in double, which is ample for values
// stored in single precision and keeps a million-pixel build fast.
inline double NoiseD(double n) {
    if (n <= 0) return n;
    const double r = std::sqrt(n);
    return n - 1.5 * r + 3 * r * RandomReal();
}
}  // namespace

bool ImgArrayObj::Allocate(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    try {
        data_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f);
    } catch (const std::bad_alloc&) {
        data_.clear();
        width_ = height_ = 0;
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

ChipSize ChipFieldSize(const app::CameraBlock& camera, const app::TelescopeEntry& telescope) {
    const Extended f = telescope.focalLength;
    if (!(f > 0)) return {};
    const Extended k = 0.001L * ArcsecPerRadian / (f * 60);
    return {camera.imageWidth * static_cast<Extended>(camera.pixelWidth) * k,
            camera.imageHeight * static_cast<Extended>(camera.pixelHeight) * k};
}

std::optional<std::string> CameraOptionsProblem(const app::OptsRec& opts, int telescope) {
    const app::CameraBlock& c = opts.camera;
    if (telescope < 0 || telescope > 2) return "No telescope is selected for the CCD camera.";
    const app::TelescopeEntry& t = opts.telescopes[static_cast<std::size_t>(telescope)];
    if (!(c.pixelWidth > 0) || !(c.pixelHeight > 0))
        return "The CCD pixel width and height must be greater than 0.  Please correct the camera options.";
    if (!(t.focalLength > 0))
        return "The focal length of the " + t.name + " must be greater than 0.  Please correct the telescope options.";
    if (!(t.seeingDisk >= 0)) return "The seeing of the " + t.name + " must not be negative.";
    if (c.imageWidth <= 0 || c.imageHeight <= 0) return "The CCD image width and height must be greater than 0.";
    if (c.baseExposure <= 0) return "The CCD base exposure must be greater than 0.";
    if (c.adDepth < 1 || c.adDepth > 32) return "The CCD AD depth must lie between 1 and 32 bits.";
    return std::nullopt;
}

Extended FilterMagnitude(const FieldObject& o, int filter) {
    const Extended v = o.V;
    const Extended bv = Known(o.BV) ? o.BV : 0;
    const Extended ub = Known(o.UB) ? o.UB : 0;
    switch (filter) {
        case 0: return v - bv - 0.5L;
        case 1: return v + bv;
        case 3: return v - bv;             // the photometer's R
        case 4: return v + bv - ub;        // and I
        default: return v;
    }
}

// ---- The chip list.

void CCDFieldObj::Setup(const app::OptsRec& opts, int telescope, Extended exposureSeconds, Extended dec, Extended ra) {
    const app::CameraBlock& c = opts.camera;
    const app::TelescopeEntry& t = opts.telescopes[static_cast<std::size_t>(telescope)];
    list.clear();
    exposureDays = exposureSeconds / 86400;
    ra0 = ra * 15 * DegToRadL;
    dec0 = dec * DegToRadL;
    cosDec0 = std::cos(dec0);
    sinDec0 = std::sin(dec0);
    jitter = c.positionNoise ? 0.1L * t.seeingDisk / ArcsecPerRadian : 0;
    halfWidth = c.imageWidth * static_cast<Extended>(c.pixelWidth) * 0.001L / (2 * static_cast<Extended>(t.focalLength));
    halfHeight = c.imageHeight * static_cast<Extended>(c.pixelHeight) * 0.001L / (2 * static_cast<Extended>(t.focalLength));
    x0 = -halfWidth;
    y0 = halfHeight;
    dx = 2 * halfWidth / c.imageWidth;
    dy = -2 * halfHeight / c.imageHeight;
}

namespace {
// The tangent-plane place of (a, d), radians, about a field centre; false on
// the far hemisphere, which never projects onto the chip.
bool Tangent(const CCDFieldObj& f, Extended a, Extended d, Extended& xi, Extended& eta) {
    const Extended delta = a - f.ra0;
    const Extended cd = std::cos(d), sd = std::sin(d), cDelta = std::cos(delta);
    const Extended D = cd * f.cosDec0 * cDelta + sd * f.sinDec0;
    if (!(D > 0)) return false;
    xi = -(cd * std::sin(delta)) / D;
    eta = (sd * f.cosDec0 - cd * f.sinDec0 * cDelta) / D;
    return true;
}
}  // namespace

bool CCDFieldObj::Project(double raHours, double decDeg, double& x, double& y) {
    const Extended u1 = RandomReal();
    const Extended u2 = RandomReal();
    const Extended a = raHours * 15 * DegToRadL + (u1 - 0.5L) * jitter;
    const Extended d = decDeg * DegToRadL + (u2 - 0.5L) * jitter;
    Extended xi = 0, eta = 0;
    if (!Tangent(*this, a, d, xi, eta)) return false;
    if (xi < -halfWidth || xi > halfWidth || eta < -halfHeight || eta > halfHeight) return false;
    x = static_cast<double>((xi - x0) / dx);
    y = static_cast<double>((eta - y0) / dy);
    return true;
}

bool CCDFieldObj::Place(double raHours, double decDeg, double& x, double& y) const {
    Extended xi = 0, eta = 0;
    if (!Tangent(*this, raHours * 15 * DegToRadL, decDeg * DegToRadL, xi, eta)) return false;
    x = static_cast<double>((xi - x0) / dx);
    y = static_cast<double>((eta - y0) / dy);
    return true;
}

void CCDFieldObj::Collect(GSCFieldObj& field, Extended jd) {
    list.clear();
    if (field.asteroidList) field.AddAsteroids(exposureDays, jd);
    field.objects.Reset();
    while (const FieldObject* o = field.objects.Next()) {
        double x = 0, y = 0;
        if (!Project(o->ra, o->dec, x, y)) continue;
        FieldObject copy = *o;
        copy.x = x;
        copy.y = y;
        list.push_back(std::move(copy));
    }
    field.objects.Reset();
}

// ---- Drawing.

void CCDStarImgObj::Prepare(const app::OptsRec& opts, int telescope, ImgArrayObj& array) {
    const app::CameraBlock& c = opts.camera;
    const app::TelescopeEntry& t = opts.telescopes[static_cast<std::size_t>(telescope)];
    array_ = &array;
    sx = c.pixelWidth * 206.2648L / t.focalLength;
    sy = c.pixelHeight * 206.2648L / t.focalLength;
    // A seeing of 0 would give a zero width: keep the image to about a pixel.
    const Extended seeing = t.seeingDisk > 0 ? static_cast<Extended>(t.seeingDisk) : std::min(sx, sy) * 0.5L;
    sigmaX = seeing / sx;
    sigmaY = seeing / sy;
    offset = t.scopeFactor;
    baseMagnitude_ = c.baseMagnitude;
    baseCount_ = c.baseCount;
    baseExposure_ = c.baseExposure;
}

Extended CCDStarImgObj::PeakCounts(Extended m) const {
    return baseCount_ * std::pow(10.0L, (baseMagnitude_ + offset - m) / 2.5L);
}

int CCDStarImgObj::BoxFactor(Extended g) const {
    int k = 3;
    while (g * std::exp(-static_cast<Extended>(k) * k / 2) > 1 && k < 64) ++k;
    return k;
}

void CCDStarImgObj::Spikes(int cx, int cy, int rx, int ry, Extended amount) {
    ImgArrayObj& img = *array_;
    const int wx = 4 * rx, wy = 4 * ry;
    static constexpr Extended Factor[4] = {1, 1.4L, 2, 4};
    const double a0 = static_cast<double>(amount);
    const int jLo = std::max(0, cx - wx), jHi = std::min(img.width() - 1, cx + wx);
    const int iLo = std::max(0, cy - wy), iHi = std::min(img.height() - 1, cy + wy);
    for (int i = iLo; i <= iHi; ++i) {
        const int b = std::abs(i - cy);
        for (int j = jLo; j <= jHi; ++j) {
            const int a = std::abs(j - cx);
            if (a > 3 && b > 3) continue;
            Extended L = 0;
            if (a <= 3 && ry > 0) L = Factor[a] * b / ry;
            if (b <= 3 && rx > 0) L = Factor[b] * a / rx;
            if (L > 0) img.At(j, i) += static_cast<float>(NoiseD(a0 * std::exp(-2 * static_cast<double>(L))));
        }
    }
}

void CCDStarImgObj::DrawStar(Extended exposure, Extended y, Extended x, Extended m) {
    ImgArrayObj& img = *array_;
    const Extended g = PeakCounts(m);
    const Extended f = exposure / baseExposure_;
    const int cx = static_cast<int>(RoundInt(x)), cy = static_cast<int>(RoundInt(y));
    const int k = BoxFactor(g);
    const int rx = static_cast<int>(RoundInt(k * sigmaX)), ry = static_cast<int>(RoundInt(k * sigmaY));
    const int jLo = std::max(0, cx - rx), jHi = std::min(img.width() - 1, cx + rx);
    const int iLo = std::max(0, cy - ry), iHi = std::min(img.height() - 1, cy + ry);
    const double peak = static_cast<double>(g * f);
    // The profile separates into a column and a row factor.
    std::vector<double> colFactor(static_cast<std::size_t>(std::max(0, jHi - jLo + 1)));
    for (int j = jLo; j <= jHi; ++j) {
        const double ex = static_cast<double>((j - x) / sigmaX);
        colFactor[static_cast<std::size_t>(j - jLo)] = std::exp(-ex * ex / 2);
    }
    for (int i = iLo; i <= iHi; ++i) {
        const double ey = static_cast<double>((i - y) / sigmaY);
        const double row = peak * std::exp(-ey * ey / 2);
        float* line = &img.At(0, i);
        for (int j = jLo; j <= jHi; ++j)
            line[j] += static_cast<float>(NoiseD(row * colFactor[static_cast<std::size_t>(j - jLo)]));
    }
    Spikes(cx, cy, rx, ry, 0.01L * g * f * f);
}

void CCDStarImgObj::DrawTrail(Extended exposure, Extended y1, Extended x1, Extended y0, Extended x0, Extended m) {
    ImgArrayObj& img = *array_;
    const Extended ax = x0 / sigmaX, ay = y0 / sigmaY;  // start, seeing units
    const Extended bx = x1 / sigmaX, by = y1 / sigmaY;  // end
    const Extended l = std::hypot(bx - ax, by - ay);
    const Extended q = std::pow(l + 1, 0.25L);
    const Extended g = PeakCounts(m);
    const Extended u = exposure / (q * baseExposure_);
    const int cx = static_cast<int>(RoundInt((x0 + x1) / 2)), cy = static_cast<int>(RoundInt((y0 + y1) / 2));
    const int k = BoxFactor(g);
    const int rx = static_cast<int>(RoundInt(std::fabs(x1 - x0) / 2 + k * sigmaX));
    const int ry = static_cast<int>(RoundInt(std::fabs(y1 - y0) / 2 + k * sigmaY));
    const int jLo = std::max(0, cx - rx), jHi = std::min(img.width() - 1, cx + rx);
    const int iLo = std::max(0, cy - ry), iHi = std::min(img.height() - 1, cy + ry);
    const double dax = static_cast<double>(ax), day = static_cast<double>(ay);
    const double dbx = static_cast<double>(bx), dby = static_cast<double>(by), dl = static_cast<double>(l);
    const double amount = static_cast<double>(g * u);
    const double sxd = static_cast<double>(sigmaX), syd = static_cast<double>(sigmaY);
    for (int i = iLo; i <= iHi; ++i) {
        const double py = i / syd;
        for (int j = jLo; j <= jHi; ++j) {
            const double px = j / sxd;
            const double U = (px - dax) * (px - dax) + (py - day) * (py - day);
            const double X = (px - dbx) * (px - dbx) + (py - dby) * (py - dby);
            double z = X;
            if (dl > 0) {
                const double t = (dl * dl + X - U) / (2 * dl);
                if (t > dl) z = U;
                else if (t >= 0) z = std::max(0.0, X - t * t);
            }
            img.At(j, i) += static_cast<float>(NoiseD(amount * std::exp(-z / 2)));
        }
    }
    if (q < 1.25L) Spikes(cx, cy, rx, ry, 0.01L * g * u * u);
}

// ---- Histogram and display.

void BackgroundHistogram::Clear() {
    bins_.fill(0);
    n_ = 0;
    sum_ = sumSq_ = 0;
}

Extended BackgroundHistogram::Mean() const { return n_ > 0 ? sum_ / n_ : 0; }

Extended BackgroundHistogram::StdDev() const {
    if (n_ < 2) return 0;
    const long double var = (static_cast<long double>(sumSq_) - static_cast<long double>(sum_) * sum_ / n_) / (n_ - 1);
    return var > 0 ? std::sqrt(var) : 0;
}

std::uint8_t DisplayMapping::IndexOf(float value) const {
    const long long d = RoundInt(value) - low;
    if (d < 0) return 64;
    if (d > range) return 127;
    return static_cast<std::uint8_t>(64 + RoundInt(static_cast<Extended>(d) / range * 63));
}

DisplayMapping MakeDisplayMapping(const BackgroundHistogram& h) {
    const Extended m = h.Mean(), s = h.StdDev();
    DisplayMapping map;
    map.low = RoundInt(m + 0.75L * s);
    const long long high = RoundInt(map.low + 12 * s);
    map.range = std::max<long long>(1, high - map.low);
    return map;
}

std::array<std::uint8_t, 256> DisplayGreys() {
    std::array<std::uint8_t, 256> g{};
    for (int i = 0; i < 256; ++i) {
        if (i < 64) g[static_cast<std::size_t>(i)] = 0;
        else if (i > 127) g[static_cast<std::size_t>(i)] = 255;
        else g[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(RoundInt(255 * std::sqrt((i - 64) / 63.0L)));
    }
    return g;
}

// ---- The build.

CCDImageObj::CCDImageObj(platform::Services& services, const app::OptsRec& opts)
    : services_(services), opts_(opts) {}

bool CCDImageObj::Build(Extended exposure, Extended jd, Extended dec, Extended ra, const CameraSettings& settings) {
    if (auto problem = CameraOptionsProblem(opts_, settings.telescope)) {
        services_.dialogs->show(*problem, BadOpticsCaption, platform::Icon::Error);
        return false;
    }
    if (services_.clock) Randomize(*services_.clock);
    if (!array.Allocate(opts_.camera.imageWidth, opts_.camera.imageHeight)) {
        services_.dialogs->show(NoMemoryText, NoMemoryCaption, platform::Icon::Error);
        return false;
    }
    field.Setup(opts_, settings.telescope, exposure, dec, ra);
    key.clear();
    if (settings.field) field.Collect(*settings.field, jd);
    histogram.Clear();
    drawer.Prepare(opts_, settings.telescope, array);
    const int gain = settings.gain > 0 ? settings.gain : 1;
    Background(exposure, gain);
    GalaxyLight(exposure, settings);
    Objects(exposure, settings.filter);
    GalaxyKey(settings);
    Scale(gain);
    mapping = MakeDisplayMapping(histogram);
    return true;
}

void CCDImageObj::Background(Extended exposure, int gain) {
    const app::CameraBlock& c = opts_.camera;
    Extended b = c.readNoise;
    if (c.cooling != 1) b += c.darkNoise * exposure;
    // Noise(b) with its square root taken once for the million pixels.
    const double bd = static_cast<double>(b);
    const double r = bd > 0 ? std::sqrt(bd) : 0;
    const double lo = bd - 1.5 * r + c.bias, width = 3 * r, flat = bd + c.bias;
    const double perGain = 1.0 / gain;
    RandomGenerator& rng = RandomGenerator::global();
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (float& v : array.values()) {
        const double value = bd > 0 ? lo + width * rng.real() : flat;
        v = static_cast<float>(value);
        const double sample = std::nearbyint(value * perGain);
        histogram.Add(sample);
        low = std::min(low, sample);
        high = std::max(high, sample);
    }
    minValue = static_cast<float>(low);
    maxValue = static_cast<float>(high);
}

namespace {

// The part of the galaxy layer the chip covers, centred on the pointing, in
// layer pixels; chip column x takes layer column floor(left + (x + 0.5) w / W).
struct ChipWindow {
    Extended left = 0, top = 0, width = 0, height = 0;
    int LayerColumn(int x, int chipWidth) const {
        return static_cast<int>(std::floor(left + (x + 0.5L) * width / chipWidth));
    }
    int LayerRow(int y, int chipHeight) const {
        return static_cast<int>(std::floor(top + (y + 0.5L) * height / chipHeight));
    }
};

std::optional<ChipWindow> ChipWindowOf(const app::OptsRec& opts, const CameraSettings& settings) {
    const Raster* layer = settings.galaxyLayer;
    if (!layer || layer->width <= 0 || layer->height <= 0 || !(settings.viewFieldArcmin > 0)) return std::nullopt;
    const ChipSize chip = ChipFieldSize(opts.camera, opts.telescopes[static_cast<std::size_t>(settings.telescope)]);
    const Extended perArcmin = layer->width / settings.viewFieldArcmin;  // view pixels per arcminute
    ChipWindow window;
    window.width = chip.width * perArcmin;
    window.height = chip.height * perArcmin;
    window.left = layer->width / 2.0L - window.width / 2;
    window.top = layer->height / 2.0L - window.height / 2;
    return window;
}

// The light a layer pixel of red level k gives the chip: 4k - 150 when above 0.
int GlowSignal(std::uint32_t pixel) { return 4 * RedOf(pixel) - 150; }

}  // namespace

void CCDImageObj::GalaxyLight(Extended exposure, const CameraSettings& settings) {
    const std::optional<ChipWindow> window = ChipWindowOf(opts_, settings);
    if (!window) return;
    const Raster* layer = settings.galaxyLayer;
    const app::CameraBlock& c = opts_.camera;
    const Extended f = exposure / c.baseExposure;
    const Extended c22 = c.baseCount * std::pow(10.0L, (c.baseMagnitude - 22 + drawer.offset) / 2.5L);
    const int W = array.width(), H = array.height();
    std::vector<int> column(static_cast<std::size_t>(W));
    for (int x = 0; x < W; ++x) column[static_cast<std::size_t>(x)] = window->LayerColumn(x, W);
    for (int y = 0; y < H; ++y) {
        const int ly = window->LayerRow(y, H);
        if (ly < 0 || ly >= layer->height) continue;
        for (int x = 0; x < W; ++x) {
            const int lx = column[static_cast<std::size_t>(x)];
            if (lx < 0 || lx >= layer->width) continue;
            const int s = GlowSignal(layer->at(lx, ly));
            if (s > 0) array.At(x, y) += static_cast<float>(Noise(f * c22 * s));
        }
    }
}

void CCDImageObj::GalaxyKey(const CameraSettings& settings) {
    const std::optional<ChipWindow> window = ChipWindowOf(opts_, settings);
    if (!window || !settings.layerGalaxies) return;
    const Raster& layer = *settings.galaxyLayer;
    const int W = array.width(), H = array.height();
    // The layer pixels the chip samples (each of them when the layer is the
    // coarser picture, as it is with the view's 312 pixels).
    const int colLo = std::max(0, window->LayerColumn(0, W)), colHi = std::min(layer.width - 1, window->LayerColumn(W - 1, W));
    const int rowLo = std::max(0, window->LayerRow(0, H)), rowHi = std::min(layer.height - 1, window->LayerRow(H - 1, H));
    for (const DrawnGalaxy& g : *settings.layerGalaxies) {
        bool lit = false;
        for (int ly = std::max(rowLo, g.top); ly <= std::min(rowHi, g.bottom) && !lit; ++ly)
            for (int lx = std::max(colLo, g.left); lx <= std::min(colHi, g.right) && !lit; ++lx)
                lit = GlowSignal(layer.at(lx, ly)) > 0;
        double x = 0, y = 0;
        if (!lit || !field.Place(g.object.ra, g.object.dec, x, y)) continue;
        key.push_back({g.object.name, KindGalaxy, x, y, FilterMagnitude(g.object, settings.filter)});
    }
}

void CCDImageObj::Objects(Extended exposure, int filter) {
    auto& list = field.list;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const FieldObject& o = list[i];
        const Extended m = FilterMagnitude(o, filter);
        key.push_back({o.name, o.kind, o.x, o.y, m});
        // An asteroid with both positions on the chip is followed by its end
        // position; one with only one position on the chip is drawn there.
        if (o.kind == KindAsteroid && i + 1 < list.size() && list[i + 1].kind == KindAsteroid &&
            list[i + 1].name == o.name) {
            const FieldObject& e = list[i + 1];
            drawer.DrawTrail(exposure, e.y, e.x, o.y, o.x, m);
            ++i;
            continue;
        }
        drawer.DrawStar(exposure, o.y, o.x, m);
    }
}

void CCDImageObj::Scale(int gain) {
    const app::CameraBlock& c = opts_.camera;
    const float well = static_cast<float>(c.wellDepth);
    const float top = static_cast<float>(std::ldexp(1.0, c.adDepth));
    const float g = static_cast<float>(gain);
    for (float& v : array.values()) v = std::min(std::min(v, well) / g, top);
}

std::vector<std::uint8_t> CCDImageObj::DisplayIndexes() const {
    std::vector<std::uint8_t> out(array.values().size());
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = mapping.IndexOf(array.values()[i]);
    return out;
}

}  // namespace qnr::ccd
