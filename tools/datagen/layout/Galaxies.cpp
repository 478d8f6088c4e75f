#include "datagen/layout/Galaxies.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "panelart/Bmp.h"

namespace qnr::datagen {

namespace {

bool StartsWith(const std::string& s, std::size_t at, const char* prefix) {
    return s.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The luminosity class digit of a trailing roman numeral ("I-II" is 2).
char LuminosityDigit(const std::string& text) {
    static const std::pair<const char*, char> Classes[] = {
        {"III-IV", '6'}, {"II-III", '4'}, {"IV-V", '8'}, {"I-II", '2'}, {"III", '5'},
        {"II", '3'},     {"IV", '7'},     {"V", '9'},    {"I", '1'}};
    // The last word made of I, V and "-" only.
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == ':')) --end;
    std::size_t start = end;
    while (start > 0 && (text[start - 1] == 'I' || text[start - 1] == 'V' || text[start - 1] == '-')) --start;
    if (start == end || (start > 0 && text[start - 1] != ' ')) return ' ';
    const std::string word = text.substr(start, end - start);
    for (const auto& [name, digit] : Classes)
        if (word == name) return digit;
    return ' ';
}

int Stage(const std::string& s, std::size_t at) {
    static const std::pair<const char*, int> Stages[] = {{"dm", 8}, {"cd", 6}, {"bc", 4}, {"ab", 2},
                                                         {"a", 1},  {"b", 3},  {"c", 5},  {"d", 7},
                                                         {"m", 9}};
    for (const auto& [name, code] : Stages)
        if (StartsWith(s, at, name)) return code;
    return 20;  // a spiral without a stage
}

double Smoothstep(double a, double b, double x) {
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A deterministic value in [0, 1) for a pixel and a seed, for the clumps of
// irregular galaxies.
double Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFFFF) / 16777216.0;
}

}  // namespace

GalaxyType MapMorphology(const std::string& textIn) {
    GalaxyType t;
    std::string s = textIn;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    if (s.empty()) return t;

    // A numeric stage (de Vaucouleurs T), as some sources give it.
    {
        double v = 0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (r.ec == std::errc() && r.ptr == s.data() + s.size()) {
            t.code = std::clamp(static_cast<int>(std::nearbyint(v)), -6, 11);
            return t;
        }
    }
    t.luminosity = LuminosityDigit(s);
    const bool peculiar = s.find("pec") != std::string::npos;

    // Outer rings come first in the full notation: "(R')SAB(rs)ab".
    std::size_t at = 0;
    if (StartsWith(s, 0, "(R")) {
        at = s.find(')');
        at = at == std::string::npos ? s.size() : at + 1;
    } else if (StartsWith(s, 0, "R'") || (s.size() > 1 && s[0] == 'R' && s[1] == 'S')) {
        at = s[1] == '\'' ? 2 : 1;
    }
    auto variety = [&](std::size_t& p) {
        if (p < s.size() && s[p] == '(') {
            const std::size_t close = s.find(')', p);
            if (close == std::string::npos) return;
            const std::string inner = s.substr(p + 1, close - p - 1);
            if (inner == "s" || inner == "r") t.variety = inner[0];
            p = close + 1;
        }
    };

    // The bar notation of spirals and irregulars: "AB" mixed, "A" none, "B" barred.
    auto bars = [&](std::size_t& p) {
        if (StartsWith(s, p, "AB")) {
            t.bar = 'X';
            p += 2;
        } else if (StartsWith(s, p, "A")) {
            ++p;
        } else if (StartsWith(s, p, "B")) {
            t.bar = 'B';
            ++p;
        }
    };

    if (StartsWith(s, at, "c")) {  // compact: cE, cG, cGD
        t.code = -6;
        return t;
    }
    if (StartsWith(s, at, "dE") || StartsWith(s, at, "dG") || StartsWith(s, at, "dSph")) {
        t.code = -5;
        return t;
    }
    if (StartsWith(s, at, "dS0")) {
        t.code = -2;
        return t;
    }
    if (StartsWith(s, at, "dI")) {
        t.code = 10;
        return t;
    }
    if (StartsWith(s, at, "E")) {
        const std::string rest = s.substr(at + 1);
        if (StartsWith(rest, 0, "-S0") || StartsWith(rest, 0, "/S0") || StartsWith(rest, 0, "+")) t.code = -4;
        else if (StartsWith(rest, 0, "?") || StartsWith(rest, 0, "...")) t.code = -7;
        else t.code = -5;
        return t;
    }
    // Lenticulars and spirals share the bar notation.
    std::size_t p = at;
    if (StartsWith(s, p, "L")) {
        t.code = -2;
        return t;
    }
    if (StartsWith(s, p, "S")) {
        ++p;
        bars(p);
        if (StartsWith(s, p, "0")) {
            ++p;
            if (StartsWith(s, p, "-a") || StartsWith(s, p, "/a") || StartsWith(s, p, "a")) t.code = 0;
            else if (StartsWith(s, p, "^-") || StartsWith(s, p, "-")) t.code = -3;
            else if (StartsWith(s, p, "^+") || StartsWith(s, p, "+")) t.code = -1;
            else t.code = -2;
            variety(p);
            return t;
        }
        variety(p);
        t.code = Stage(s, p);
        return t;
    }
    if (StartsWith(s, p, "I")) {
        ++p;
        bars(p);
        if (StartsWith(s, p, "0") || StartsWith(s, p, " 0") || StartsWith(s, p, "rr II") || StartsWith(s, p, " II")) {
            t.code = 16;
            t.luminosity = ' ';
            return t;
        }
        variety(p);
        t.code = 10;
        return t;
    }
    if (peculiar || StartsWith(s, p, "P")) {
        t.code = 15;
        return t;
    }
    t.luminosity = ' ';
    return t;
}

Picture RenderGalaxy(const GalaxyShape& g) {
    const double major = g.majorArcmin > 0 ? g.majorArcmin : 0.5;
    const double a = std::max(3.0, major / 2 * PicturePixelsPerArcmin);  // semi-major axis, pixels
    double q = g.minorArcmin > 0 && g.majorArcmin > 0 ? g.minorArcmin / g.majorArcmin : 0.8;
    q = std::clamp(q, 0.08, 1.0);
    int size = static_cast<int>(std::nearbyint(2.4 * a));
    size = std::clamp(size + (size & 1), 32, MaxPictureSize);
    Picture pic{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size, 0)};

    const int code = g.type.code;
    const bool elliptical = code <= -4;
    const bool lenticular = code >= -3 && code <= 0;
    const bool irregular = code >= 10 && code <= 19;
    const bool spiral = !elliptical && !lenticular && !irregular;
    // Bulge share of the light by stage.
    double bulge = elliptical ? 1.0 : lenticular ? 0.55 : irregular ? 0.05 : std::clamp(0.45 - 0.045 * code, 0.05, 0.45);
    if (code == 20) bulge = 0.3;
    const double hd = a / 3.2, rb = a / 9.0;
    const double theta = (g.positionAngle != 0 ? g.positionAngle : 0) * 3.14159265358979323846 / 180;
    const double st = std::sin(theta), ct = std::cos(theta);
    const double c = size / 2.0;
    const bool edgeOn = q < 0.35 && !elliptical;
    const double pitch = 4.0;  // arm winding
    const std::uint32_t seed = static_cast<std::uint32_t>(major * 1000 + g.magnitude * 10 + code);

    std::vector<double> value(pic.grey.size());
    double peak = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            // North up and east to the left: the position angle turns from up towards the left.
            const double u = -dx * st - dy * ct;  // along the major axis
            const double w = dx * ct - dy * st;   // along the minor axis
            const double wp = w / q;              // in the galaxy's plane
            const double r = std::hypot(u, wp);
            double v = bulge * std::exp(-std::pow(r / rb, 0.5) * 2.0) * 4.0;
            if (!elliptical) {
                double disk = (1 - bulge) * std::exp(-r / hd);
                if (spiral && !edgeOn && r > rb) {
                    const double phi = std::atan2(wp, u);
                    const double arms = std::cos(2 * (phi - pitch * std::log(r / hd + 0.1)));
                    disk *= 0.55 + 0.45 * (arms > 0 ? arms * arms : 0) * 2;
                }
                if (irregular) disk *= 0.6 + 0.8 * Hash(x / 4, y / 4, seed);
                v += disk;
            }
            if (edgeOn && (spiral || lenticular)) {
                const double lane = std::max(1.0, a * q * 0.12);
                v *= 1 - 0.75 * std::exp(-(w * w) / (lane * lane)) * Smoothstep(0, rb * 0.5, std::fabs(u) + rb * 0.3);
            }
            // Fade to black before the picture's edge so no square shows.
            const double rho = std::max(std::fabs(dx), std::fabs(dy)) / c;
            v *= 1 - Smoothstep(0.82, 1.0, rho);
            value[static_cast<std::size_t>(y) * size + x] = v;
            peak = std::max(peak, v);
        }
    const double top = std::clamp(250 - 15 * (g.magnitude - 9), 110.0, 250.0);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const double v = peak > 0 ? value[i] / peak * top : 0;
        pic.grey[i] = v < 3 ? 0 : static_cast<std::uint8_t>(std::min(255.0, std::nearbyint(v)));
    }
    return pic;
}

Bytes EncodeBmp(const Picture& p) {
    std::vector<panelart::Rgb> pixels(p.grey.size());
    for (std::size_t i = 0; i < p.grey.size(); ++i) pixels[i] = {p.grey[i], p.grey[i], p.grey[i]};
    return panelart::EncodeBmp24(p.width, p.height, pixels);
}

}  // namespace qnr::datagen
