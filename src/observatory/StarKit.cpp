#include "observatory/StarKit.h"

#include <algorithm>
#include <cmath>

#include "astro/MathStd.h"

namespace qnr::observatory {

int ClassTable::ClassOf(Extended magnitude) const {
    const Extended whole = cut ? std::trunc(magnitude) : std::nearbyint(magnitude);
    const int k = static_cast<int>(whole) - offset;
    return k < 0 ? 0 : k;
}

std::vector<int> PsfTemplate(int amplitude, double sigma) {
    constexpr int n = SmallPictureSize, c = n / 2;
    constexpr int S = 1000;
    std::vector<int> t(static_cast<std::size_t>(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int dx = x - c, dy = y - c;
            int v = static_cast<int>(std::nearbyint(amplitude * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma))));
            const int ax = std::abs(dx), ay = std::abs(dy);
            // S (1 - d/50) and S (0.5 - d/100) are whole numbers for S = 1000.
            if (dx == 0)
                v += S - S * ay / 50;
            else if (ax == 1)
                v += S / 2 - S * ay / 100;
            else if (dy == 0)
                v += S - S * ax / 50;
            else if (ay == 1)
                v += S / 2 - S * ax / 100;
            t[static_cast<std::size_t>(y) * n + x] = v;
        }
    return t;
}

StarKit::StarKit() {
    const std::vector<int> templates[4] = {PsfTemplate(2000, 6.0), PsfTemplate(7000, 4.5), PsfTemplate(20000, 3.5),
                                           PsfTemplate(45000, 2.0)};
    constexpr int L = LargePictureSize, lc = L / 2;
    std::vector<double> large(static_cast<std::size_t>(L) * L);
    for (int y = 0; y < L; ++y)
        for (int x = 0; x < L; ++x) {
            const double r2 = double(x - lc) * (x - lc) + double(y - lc) * (y - lc);
            large[static_cast<std::size_t>(y) * L + x] = std::nearbyint(255 * std::exp(-r2 / (2.0 * 45 * 45)));
        }
    for (int k = 0; k < StarClasses; ++k) {
        const std::vector<int>& t = templates[k >= 9 ? 3 : k >= 6 ? 2 : k >= 3 ? 1 : 0];
        const double f = std::pow(0.63, k);
        GreyPicture& s = small_[k];
        s.size = SmallPictureSize;
        s.values.resize(t.size());
        for (std::size_t i = 0; i < t.size(); ++i)
            s.values[i] = static_cast<std::uint8_t>(std::min(255.0, std::nearbyint(t[i] * f)));
        for (int y = 0; y < s.size; ++y)
            for (int x = 0; x < s.size; ++x)
                if (s.at(x, y) >= StarBlitThreshold)
                    spots_[k].push_back({x - s.centre(), y - s.centre(), static_cast<std::uint8_t>(s.at(x, y))});
        const double g = std::pow(0.9, k);
        GreyPicture& l = large_[k];
        l.size = L;
        l.values.resize(large.size());
        for (std::size_t i = 0; i < large.size(); ++i)
            l.values[i] = static_cast<std::uint8_t>(std::min(255.0, std::nearbyint(large[i] * g)));
    }
}

const StarKit& StarKit::Shared() {
    static const StarKit kit;
    return kit;
}

void StarKit::DrawSmall(Raster& target, int k, int x, int y) const {
    for (const Spot& s : spots_[Clamp(k)]) {
        const int tx = x + s.dx, ty = y + s.dy;
        if (!target.contains(tx, ty)) continue;
        std::uint32_t& p = target.at(tx, ty);
        if (RedOf(p) < s.v) p = Rgb(s.v, s.v, s.v);
    }
}

FieldProjection FieldProjection::Make(Extended ra0, Extended dec0, int width, int height, Extended angle) {
    FieldProjection p;
    p.ra0 = ra0;
    p.dec0 = dec0;
    p.x0 = width / 2;
    p.y0 = height / 2;
    p.sx = width * 15 / angle;
    p.sy = height / angle;
    return p;
}

namespace {
Extended ReduceHours(Extended d) {
    while (d > 12) d -= 24;
    while (d <= -12) d += 24;
    return d;
}
}  // namespace

Extended FieldProjection::X(Extended dec, Extended ra) const {
    return x0 + std::cos(dec * DegToRad) * sx * ReduceHours(ra0 - ra);
}

Extended FieldProjection::Y(Extended dec) const { return y0 + (dec0 - dec) * sy; }

Extended FieldProjection::RA(Extended dec, Extended x) const {
    Extended c = std::cos(dec * DegToRad);
    if (std::fabs(c) < 1e-6L) c = c < 0 ? -1e-6L : 1e-6L;
    return ra0 + (x0 - x) / (c * sx);
}

}  // namespace qnr::observatory
