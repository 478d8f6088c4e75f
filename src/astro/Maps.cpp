#include "astro/Maps.h"

#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr {

namespace {

int RoundToInt(Extended x) { return static_cast<int>(std::nearbyint(x)); }


}  // namespace

Extended AitoffFactor(Extended p, Extended q) { return std::sqrt(p / (2 * q)); }

MapPoint AitoffProject(Extended phi, Extended lambda, Extended k) {
    Extended d = std::sqrt(1 + std::cos(phi) * std::cos(lambda / 2));
    return {-2 * k * std::cos(phi) * std::sin(lambda / 2) / d, std::sin(phi) / (k * d)};
}

int AitoffCentralHour(Extended lst) {
    int c = 4 * RoundToInt(lst / 4);
    return c == 24 ? 0 : c;
}

Extended AitoffLongitude(Extended raHours, int centralHour) {
    Extended lambda = TwoPi * NormalizeHours(raHours - centralHour) / 24;
    return lambda > Pi ? lambda - TwoPi : lambda;
}

void AitoffGeometry::Init(Extended p, Extended q, int boxWidth, int boxHeight, Extended lst) {
    width = boxWidth;
    height = boxHeight;
    W = width - 2 * Margin;
    H = RoundToInt(W * q / p);
    cx = Margin + W / 2;
    cy = Margin + H / 2;
    right = Margin + W;
    bottom = Margin + H;
    k = AitoffFactor(p, q);
    s = H * k / 2;
    centralHour = AitoffCentralHour(lst);
    markerDrawn = false;
}

PixelPoint AitoffGeometry::ToPixel(const MapPoint& m) const {
    return {cx + RoundToInt(s * m.x), cy - RoundToInt(s * m.y)};
}

PixelPoint AitoffGeometry::SkyToPixel(Extended decDeg, Extended raHours) const {
    return ToPixel(Project(decDeg * TwoPi / 360, AitoffLongitude(raHours, centralHour)));
}

std::vector<std::vector<PixelPoint>> AitoffGeometry::Parallels() const {
    std::vector<std::vector<PixelPoint>> lines;
    for (int lat : {60, 30, -30, -60}) {
        std::vector<PixelPoint> line;
        for (int lon = -180; lon <= 180; lon += 10) {
            if (lon == 0) continue;
            line.push_back(ToPixel(Project(lat * DegToRad, lon * DegToRad)));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::vector<PixelPoint>> AitoffGeometry::Meridians() const {
    std::vector<std::vector<PixelPoint>> lines;
    for (int lon : {-120, -60, 60, 120}) {
        std::vector<PixelPoint> line{{cx, Margin}};
        for (int lat = 80; lat >= -80; lat -= 10) line.push_back(ToPixel(Project(lat * DegToRad, lon * DegToRad)));
        line.push_back({cx, bottom});
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<MapLabel> AitoffGeometry::Labels() const {
    const int m = Margin;
    std::vector<MapLabel> labels = {
        {"N", {cx - 4, m - 17}},         {"S", {cx - 4, bottom + 5}},
        {"W", {right + 4, cy - 9}},      {"E", {m - 14, cy - 9}},
        {"+60", {m + 52, m - 4}},        {"+60", {right - 72, m - 4}},
        {"+30", {m - 4, m + 34}},        {"+30", {right - 17, m + 34}},
        {"-60", {m + 57, bottom - 11}},  {"-60", {right - 72, bottom - 13}},
        {"-30", {m, bottom - 48}},       {"-30", {right - 16, bottom - 50}},
    };
    const struct { int offset, dx; } hours[] = {{12, -144}, {8, -104}, {4, -57}, {0, -6},
                                                {-4, 45},   {-8, 92},  {-12, 132}};
    for (const auto& h : hours) {
        int hour = RoundToInt(NormalizeHours(centralHour + h.offset));
        labels.push_back({ZeroPadded(hour, 2), {cx + h.dx, cy + 2}});
    }
    return labels;
}

AitoffGeometry::MarkerChange AitoffGeometry::MarkPosition(Extended decDeg, Extended raHours) {
    MarkerChange change;
    PixelPoint c = SkyToPixel(decDeg, raHours);
    PixelRect square{c.x - 3, c.y - 3, c.x + 3, c.y + 3};
    if (markerDrawn && square == marker) return change;
    if (markerDrawn) change.restore = marker;
    change.draw = square;
    marker = square;
    markerDrawn = true;
    return change;
}

}  // namespace qnr
