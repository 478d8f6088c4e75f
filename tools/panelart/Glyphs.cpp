#include "panelart/Glyphs.h"

#include <algorithm>
#include <cmath>

#include "astro/Types.h"
#include "ui/panel/SegmentShapes.h"

namespace qnr::panelart {

namespace {

namespace seg = ui::segments;

constexpr int W = seg::GlyphWidth, H = seg::GlyphHeight;
constexpr int Sub = 4;  // samples per pixel side

// The display widget's lit and ghost colours.
constexpr Extended LitR = 255, LitG = 52, LitB = 28;
constexpr Extended GhostR = 26, GhostG = 5, GhostB = 3;

bool Inside(const seg::Polygon& poly, Extended x, Extended y) {
    // Convex: inside when the point lies on one side of every edge.
    int sign = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const seg::Point& a = poly[i];
        const seg::Point& b = poly[(i + 1) % poly.size()];
        const Extended cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
        if (s == 0) continue;
        if (sign == 0) sign = s;
        else if (s != sign) return false;
    }
    return true;
}

// Share of each pixel covered by any of the polygons.
std::vector<Extended> Coverage(const std::vector<seg::Polygon>& polys) {
    std::vector<Extended> cov(static_cast<std::size_t>(W * H), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int hits = 0;
            for (int sy = 0; sy < Sub; ++sy)
                for (int sx = 0; sx < Sub; ++sx) {
                    const Extended px = x + (sx + 0.5L) / Sub, py = y + (sy + 0.5L) / Sub;
                    for (const auto& p : polys)
                        if (Inside(p, px, py)) {
                            ++hits;
                            break;
                        }
                }
            cov[static_cast<std::size_t>(y * W + x)] = static_cast<Extended>(hits) / (Sub * Sub);
        }
    return cov;
}

// A soft halo: the coverage spread over its 3 x 3 neighbourhood.
std::vector<Extended> Halo(const std::vector<Extended>& cov) {
    std::vector<Extended> out(cov.size(), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            Extended sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx >= 0 && xx < W && yy >= 0 && yy < H) sum += cov[static_cast<std::size_t>(yy * W + xx)];
                }
            out[static_cast<std::size_t>(y * W + x)] = sum / 9;
        }
    return out;
}

std::uint8_t Channel(Extended v) {
    return static_cast<std::uint8_t>(std::clamp<Extended>(std::nearbyint(v), 0, 255));
}

}  // namespace

std::vector<Rgb> RenderGlyph(char c) {
    const seg::CellShapes shapes = seg::Cell(c, W, H);
    const std::vector<Extended> lit = Coverage(shapes.lit);
    const std::vector<Extended> ghost = Coverage(shapes.unlit);
    const std::vector<Extended> halo = Halo(lit);
    std::vector<Rgb> px(lit.size());
    for (std::size_t i = 0; i < px.size(); ++i) {
        const Extended g = ghost[i] * (1 - lit[i]), h = 0.35L * halo[i] * (1 - lit[i]);
        px[i] = {Channel(GhostR * g + LitR * (lit[i] + h)), Channel(GhostG * g + LitG * (lit[i] + h)),
                 Channel(GhostB * g + LitB * (lit[i] + h))};
    }
    return px;
}

Bytes GlyphPicture(char c) { return EncodeBmp24(W, H, RenderGlyph(c)); }

}  // namespace qnr::panelart
