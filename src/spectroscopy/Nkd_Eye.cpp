#include "spectroscopy/Nkd_Eye.h"

#include <algorithm>
#include <cmath>

#include "astro/MathStd.h"
#include "astro/StringUt.h"
#include "catalogs/RecordCodec.h"
#include "observatory/StarKit.h"
#include "platform/Services.h"

namespace qnr {

namespace {
constexpr auto Visit = [](auto& v, NakedEyeStar& s) { VisitNakedEyeStar(v, s); };
}

Bytes EncodeNakedEyeStars(const std::vector<NakedEyeStar>& stars) { return EncodeRecords(stars, Visit); }

std::vector<NakedEyeStar> DecodeNakedEyeStars(const Bytes& bytes) {
    return DecodeRecords<NakedEyeStar>(bytes, NakedEyeRecordSize, Visit);
}

NakedEyeSky::NakedEyeSky(platform::Services& services, std::string programFolder, int displayHeight)
    : services_(services), programFolder_(std::move(programFolder)), height_(displayHeight) {}

bool NakedEyeSky::Compute(const Site& site, Extended jd, const std::optional<DomePointing>& pointing) {
    stars_.clear();
    SkyPosition pos;
    SetEquatorial(pos, KindMean, EpochJ2000, JD_J2000);
    // The pointing is passed explicitly: 0 h is a real right ascension.
    if (pointing) {
        pos.first = pointing->ra * 15 * DegToRad;
        pos.second = pointing->dec * DegToRad;
        centreAzimuth_ = static_cast<double>(HorizonPosition(site, pos, jd).azimuth * RadToDeg);
    } else {
        centreAzimuth_ = site.latitude >= 0 ? 180 : 0;
    }
    const std::string path = services_.files->resolve(platform::WithTrailingSlash(programFolder_) + NakedEyeFileName);
    const platform::ReadResult file = services_.files->readFile(path, std::size_t{16} << 20);
    if (file.code != 0) {
        services_.dialogs->show("Unable to Open Naked Eye Data File!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(file.code),
                                "Star Catalog File Error!", platform::Icon::Error);
        return false;
    }
    const double a0 = centreAzimuth_ * static_cast<double>(DegToRad);
    const double band = 30 * static_cast<double>(DegToRad), halfWidth = 20 * static_cast<double>(DegToRad);
    const double centreAlt = 45 * static_cast<double>(DegToRad);
    for (const NakedEyeStar& s : DecodeNakedEyeStars(file.bytes)) {
        if (s.V > NakedEyeLimitMag) continue;
        pos.first = s.ra * 15 * DegToRad;
        pos.second = s.dec * DegToRad;
        const Horizontal h = HorizonPosition(site, pos, jd);
        const double alt = static_cast<double>(h.altitude), az = static_cast<double>(h.azimuth);
        double d = std::fabs(az - a0);
        if (d > Pi) d = 2 * static_cast<double>(Pi) - d;
        // A whisker of slack so that a star exactly on an edge is not lost to rounding.
        if (std::fabs(alt - centreAlt) > band + 1e-12 || std::cos(alt) * d > halfWidth + 1e-12) continue;
        NakedEyeSelected sel;
        sel.ra = s.ra;
        sel.dec = s.dec;
        sel.V = s.V;
        sel.altitude = alt * static_cast<double>(RadToDeg);
        sel.azimuth = az * static_cast<double>(RadToDeg);
        stars_.push_back(sel);
    }
    if (stars_.empty()) return false;
    const double p = height_ - 50;
    for (NakedEyeSelected& s : stars_) {
        double d = centreAzimuth_ - s.azimuth;
        if (d < -180) d += 360;
        if (d > 180) d -= 360;
        s.x = 120 - std::cos(s.altitude * static_cast<double>(DegToRad)) * (240.0 / 31) * d;
        s.y = (45 - s.altitude) * (p / 40) + p / 2;
        s.k = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::nearbyint(2.0 * s.V + 4)), 0, 255));
    }
    return true;
}

void NakedEyeSky::Render() {
    picture_ = Raster(DomeSkyWidth, std::max(1, height_ - 10), Rgb(0, 0, 0));
    const observatory::StarKit& kit = observatory::StarKit::Shared();
    for (const NakedEyeSelected& s : stars_)
        kit.DrawSmall(picture_, observatory::StarKit::Clamp(s.k), static_cast<int>(std::nearbyint(s.x)),
                      static_cast<int>(std::nearbyint(s.y)));
}

std::optional<std::size_t> NakedEyeSky::Identify(double a, double b) const {
    std::optional<std::size_t> best;
    double bestDistance = 10;
    for (std::size_t i = 0; i < stars_.size(); ++i) {
        const double d = std::hypot(stars_[i].x - a, stars_[i].y - b);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

NakedEyeSky::Texts NakedEyeSky::DataTexts(const NakedEyeSelected& s) {
    return {SexaStr(s.ra, 2, "h ", "m ", "s"), SexaStr(s.dec, 1, "\xB0 ", "' ", "\""), FixedStr(s.V, 3)};
}

}  // namespace qnr
