#include "datagen/layout/StarModel.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "catalogs/Star_Cat.h"

namespace qnr::datagen {

namespace {

constexpr double D2R = 3.14159265358979323846 / 180;

struct TypeRow {
    double bv;
    double ub;
    double mv;  // main sequence only
    char letter;
    int sub;
};

// Main sequence (Schmidt-Kaler's intrinsic colours and absolute magnitudes).
constexpr std::array<TypeRow, 23> Dwarfs{{
    {-0.33, -1.19, -5.7, 'O', 5}, {-0.30, -1.08, -4.0, 'B', 0}, {-0.24, -0.84, -2.45, 'B', 2},
    {-0.17, -0.58, -1.2, 'B', 5}, {-0.11, -0.34, -0.25, 'B', 8}, {-0.02, -0.02, 0.65, 'A', 0},
    {0.05, 0.05, 1.3, 'A', 2},    {0.15, 0.10, 1.95, 'A', 5},    {0.20, 0.10, 2.2, 'A', 7},
    {0.30, 0.03, 2.7, 'F', 0},    {0.35, 0.00, 3.0, 'F', 2},     {0.44, -0.02, 3.5, 'F', 5},
    {0.52, 0.02, 4.0, 'F', 8},    {0.58, 0.06, 4.4, 'G', 0},     {0.63, 0.12, 4.7, 'G', 2},
    {0.68, 0.20, 5.1, 'G', 5},    {0.74, 0.30, 5.5, 'G', 8},     {0.81, 0.45, 5.9, 'K', 0},
    {0.91, 0.64, 6.4, 'K', 2},    {1.15, 1.08, 7.35, 'K', 5},    {1.40, 1.22, 8.8, 'M', 0},
    {1.49, 1.18, 9.9, 'M', 2},    {1.64, 1.24, 12.3, 'M', 5},
}};

// Giants from G5 on; earlier giants take the dwarfs' colours.
constexpr std::array<TypeRow, 8> Giants{{
    {0.86, 0.56, 0, 'G', 5}, {0.94, 0.70, 0, 'G', 8}, {1.00, 0.84, 0, 'K', 0}, {1.16, 1.16, 0, 'K', 2},
    {1.50, 1.81, 0, 'K', 5}, {1.56, 1.87, 0, 'M', 0}, {1.60, 1.89, 0, 'M', 2}, {1.63, 1.58, 0, 'M', 5},
}};

template <std::size_t N, class F>
double Interpolate(const std::array<TypeRow, N>& rows, double bv, F value) {
    if (bv <= rows.front().bv) return value(rows.front());
    if (bv >= rows.back().bv) return value(rows.back());
    for (std::size_t i = 1; i < N; ++i)
        if (bv <= rows[i].bv) {
            const double t = (bv - rows[i - 1].bv) / (rows[i].bv - rows[i - 1].bv);
            return value(rows[i - 1]) + t * (value(rows[i]) - value(rows[i - 1]));
        }
    return value(rows.back());
}

constexpr const char* ClassOrder = "OBAFGKM";

// A position along the type sequence: class index x 10 + subclass.
double SequenceOf(const TypeRow& r) {
    return static_cast<double>((std::string_view(ClassOrder).find(r.letter)) * 10 + static_cast<std::size_t>(r.sub));
}

bool IsGiantLike(Luminosity l) { return l != Luminosity::Dwarf && l != Luminosity::Subgiant; }

double Clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

}  // namespace

std::uint64_t Draws::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Draws::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double Draws::normal() {
    // Box-Muller; the second value is dropped to keep the sequence simple.
    const double u1 = 1.0 - uniform(), u2 = uniform();
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * 3.14159265358979323846 * u2);
}

std::uint32_t Draws::poisson(double mean) {
    if (mean <= 0) return 0;
    if (mean > 60) {
        const double v = std::nearbyint(mean + std::sqrt(mean) * normal());
        return v <= 0 ? 0 : static_cast<std::uint32_t>(v);
    }
    const double limit = std::exp(-mean);
    std::uint32_t k = 0;
    for (double p = uniform(); p > limit; p *= uniform()) ++k;
    return k;
}

Galactic ToGalactic(double raHours, double decDeg) {
    // IAU 1958 system in J2000.0: the north galactic pole and the longitude of
    // the north celestial pole.
    const double aP = 192.85948 * D2R, dP = 27.12825 * D2R, lNCP = 122.93192;
    const double a = raHours * 15 * D2R, d = decDeg * D2R;
    const double sb = std::sin(d) * std::sin(dP) + std::cos(d) * std::cos(dP) * std::cos(a - aP);
    const double b = std::asin(std::clamp(sb, -1.0, 1.0));
    const double y = std::cos(d) * std::sin(a - aP);
    const double x = std::sin(d) * std::cos(dP) - std::cos(d) * std::sin(dP) * std::cos(a - aP);
    double l = lNCP - std::atan2(y, x) / D2R;
    l = std::fmod(l + 720, 360);
    return {l, b / D2R};
}

const char* LuminosityText(Luminosity l) {
    switch (l) {
        case Luminosity::Dwarf: return "V";
        case Luminosity::Subgiant: return "IV";
        case Luminosity::Giant: return "III";
        case Luminosity::BrightGiant: return "II";
        case Luminosity::Supergiant: return "Ib";
    }
    return "V";
}

double IntrinsicUB(double bv, Luminosity l) {
    if (IsGiantLike(l) && bv >= Giants.front().bv) return Interpolate(Giants, bv, [](const TypeRow& r) { return r.ub; });
    return Interpolate(Dwarfs, bv, [](const TypeRow& r) { return r.ub; });
}

double MainSequenceMV(double bv) { return Interpolate(Dwarfs, bv, [](const TypeRow& r) { return r.mv; }); }

std::string TypeFromColour(double bv, char letter, Luminosity l) {
    const bool giant = IsGiantLike(l) && bv >= Giants.front().bv;
    double seq = giant ? Interpolate(Giants, bv, SequenceOf) : Interpolate(Dwarfs, bv, SequenceOf);
    const std::size_t wanted = std::string_view(ClassOrder).find(letter);
    if (wanted != std::string_view::npos) {
        // Keep the source's class; B-V only places the subclass within it.
        seq = std::clamp(seq, wanted * 10.0, wanted * 10.0 + 9.0);
    }
    int s = static_cast<int>(std::nearbyint(seq));
    s = std::clamp(s, 5, 69);  // O5 .. M9
    std::string text(1, ClassOrder[s / 10]);
    text += static_cast<char>('0' + s % 10);
    return text;
}

Luminosity LuminosityFromParallax(double V, double bv, double plx, char letter) {
    if (plx >= 3) {
        const double M = V + 5 * std::log10(plx) - 10;
        const double excess = M - MainSequenceMV(bv);
        // Near the main sequence by the excess; above it by the absolute
        // magnitude itself (K giants lie 6 to 8 magnitudes over their dwarfs).
        if (excess > -1.5) return Luminosity::Dwarf;
        if (excess > -3.0) return Luminosity::Subgiant;
        if (M > -2.0) return Luminosity::Giant;
        if (M > -4.0) return Luminosity::BrightGiant;
        return Luminosity::Supergiant;
    }
    return letter == 'K' || letter == 'M' || (letter == '?' && bv > 0.9) ? Luminosity::Giant : Luminosity::Dwarf;
}

RealStarValues DeriveRealStar(double V, double bv, const std::string& sp, double plx) {
    RealStarValues out;
    char letter = sp.empty() || sp == "-" ? '?' : sp[0];
    if (letter == 'C') letter = 'N';  // carbon stars under the class the codes know
    const bool subclassGiven = sp.size() >= 2 && sp[1] >= '0' && sp[1] <= '9';
    const bool known = std::string_view(ClassOrder).find(letter) != std::string_view::npos;
    const Luminosity lum = LuminosityFromParallax(V, bv, plx, known ? letter : '?');
    out.UB = IntrinsicUB(bv, lum);
    out.flags = StarLuminosityAssigned | StarUBAssigned;
    std::string text;
    if (known && subclassGiven) {
        text = sp.substr(0, 2);
    } else if (known || letter == '?') {
        text = TypeFromColour(bv, known ? letter : '?', lum);
        out.flags |= StarClassAssigned;
    } else {
        // R, N, S, W and the like: the class as given, no luminosity class.
        out.spType = ParseSpType(std::string(1, letter));
        out.flags = StarClassAssigned | StarUBAssigned;
        return out;
    }
    out.spType = ParseSpType(text + LuminosityText(lum));
    return out;
}

double CountSlopeK(double absB) { return 0.045 * (0.6 + 0.4 * std::sin(absB * D2R)); }

double DifferentialCount(double anchor, double V, double absB) {
    // log10 A(V)/A0 = integral of g from AnchorV to V.
    const double x = V - SlopeV, x0 = AnchorV - SlopeV;
    return anchor * std::pow(10.0, 0.48 * (x - x0) - CountSlopeK(absB) / 2 * (x * x - x0 * x0));
}

double CountBetween(double anchor, double v1, double v2, double absB) {
    // Simpson's rule on 0.05 mag steps; the integrand is smooth.
    if (v2 <= v1) return 0;
    const int n = std::max(2, 2 * static_cast<int>(std::ceil((v2 - v1) / 0.1)));
    const double h = (v2 - v1) / n;
    double sum = DifferentialCount(anchor, v1, absB) + DifferentialCount(anchor, v2, absB);
    for (int i = 1; i < n; ++i) sum += (i % 2 ? 4 : 2) * DifferentialCount(anchor, v1 + i * h, absB);
    return sum * h / 3;
}

double SkyCell::AreaSqDeg() const {
    return (highRA - lowRA) * 15 * (std::sin(highDec * D2R) - std::sin(lowDec * D2R)) / D2R;
}

SyntheticStar StarColours(double V, double absB, Draws& draws) {
    const double sinB = std::sin(absB * D2R);
    const double pGiant = 0.30 - 0.27 * Clamp01((V - 9) / 11);
    const double pHalo = 0.5 * sinB * Clamp01((V - 13) / 7);
    const double pRedDwarf = 0.15 * Clamp01((V - 12) / 8);
    const double u = draws.uniform();
    double bv0 = 0, ubExcess = 0;
    Luminosity lum = Luminosity::Dwarf;
    if (u < pGiant) {
        lum = Luminosity::Giant;
        bv0 = std::clamp(1.05 + 0.15 * draws.normal(), 0.8, 1.7);
    } else if (u < pGiant + pHalo) {
        bv0 = std::clamp(0.50 + 0.07 * draws.normal(), 0.35, 0.9);
        ubExcess = -0.10;  // metal-poor stars are bluer in U-B
    } else if (u < pGiant + pHalo + pRedDwarf) {
        bv0 = std::clamp(1.50 + 0.07 * draws.normal(), 1.35, 1.75);
    } else {
        bv0 = std::clamp(0.55 + 0.045 * (V - 9) + 0.25 * draws.normal(), -0.25, 1.75);
    }
    const double ebv = std::min(0.15, 0.025 / std::max(sinB, 0.1));
    SyntheticStar s;
    s.V = V;
    s.BV = bv0 + ebv;
    s.UB = IntrinsicUB(bv0, lum) + ubExcess + 0.72 * ebv;
    s.spType = ParseSpType(TypeFromColour(bv0, '?', lum) + LuminosityText(lum));
    return s;
}

std::vector<SyntheticStar> DrawStars(const SkyCell& cell, double anchor, double vMin, double vMax,
                                     std::uint64_t seed) {
    Draws draws(seed);
    const double midRA = (cell.lowRA + cell.highRA) / 2, midDec = (cell.lowDec + cell.highDec) / 2;
    const double absB = std::fabs(ToGalactic(midRA, midDec).b);
    // The magnitude distribution as a cumulative table on 0.01 mag steps.
    const double step = 0.01;
    const int n = static_cast<int>(std::ceil((vMax - vMin) / step));
    std::vector<double> cumulative(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        const double a = vMin + (i - 1) * step, z = std::min(vMax, vMin + i * step);
        cumulative[static_cast<std::size_t>(i)] =
            cumulative[static_cast<std::size_t>(i - 1)] + CountBetween(anchor, a, z, absB);
    }
    const double perSqDeg = cumulative.back();
    const std::uint32_t count = draws.poisson(perSqDeg * cell.AreaSqDeg());
    std::vector<SyntheticStar> stars;
    stars.reserve(count);
    const double s0 = std::sin(cell.lowDec * D2R), s1 = std::sin(cell.highDec * D2R);
    for (std::uint32_t k = 0; k < count; ++k) {
        const double target = draws.uniform() * perSqDeg;
        const auto it = std::upper_bound(cumulative.begin(), cumulative.end(), target);
        const std::size_t i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(1, it - cumulative.begin()));
        const double lo = cumulative[i - 1], hi = cumulative[std::min(i, cumulative.size() - 1)];
        const double frac = hi > lo ? (target - lo) / (hi - lo) : 0.5;
        const double V = std::min(vMax, vMin + (static_cast<double>(i - 1) + frac) * step);
        SyntheticStar s = StarColours(V, absB, draws);
        s.ra = cell.lowRA + (cell.highRA - cell.lowRA) * draws.uniform();
        s.dec = std::asin(s0 + (s1 - s0) * draws.uniform()) / D2R;
        stars.push_back(s);
    }
    return stars;
}

}  // namespace qnr::datagen
