#include "datagen/layout/ClusterModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace qnr::datagen {

namespace {

constexpr double D2R = 3.14159265358979323846 / 180;
constexpr double Ln10 = 2.302585092994046;
constexpr double TurnOffMV = 4.1, TipMV = -2.5, HorizontalBranchMV = 0.6;
constexpr double GiantSlope = 0.32, DwarfSlope = 0.12;
constexpr double UVExcess = 0.15;

// (M_V, (B-V)0) from the faint main sequence over the turn-off to the tip.
constexpr std::array<std::pair<double, double>, 18> Sequence{{
    {8.0, 1.08}, {7.0, 0.94}, {6.0, 0.79}, {5.5, 0.70}, {5.0, 0.61}, {4.5, 0.50}, {4.1, 0.43},
    {3.8, 0.46}, {3.5, 0.54}, {3.2, 0.63}, {3.0, 0.68}, {2.0, 0.72}, {1.0, 0.76}, {0.0, 0.85},
    {-1.0, 0.99}, {-1.8, 1.17}, {-2.2, 1.33}, {-2.5, 1.52},
}};

// Stars per magnitude along the sequence, for a unit giant-branch scale.
double SequenceDensity(double M) {
    if (M <= TurnOffMV) return std::pow(10.0, GiantSlope * (M - TipMV));
    return std::pow(10.0, GiantSlope * (TurnOffMV - TipMV) + DwarfSlope * (M - TurnOffMV));
}

Luminosity BranchOf(double M) {
    if (M < 3.0) return Luminosity::Giant;
    if (M < TurnOffMV - 0.2) return Luminosity::Subgiant;
    return Luminosity::Dwarf;
}

// A tabulated inverse of a cumulative distribution on [a, b].
class Sampler {
public:
    template <class F>
    Sampler(double a, double b, F density) : a_(a), b_(b) {
        cumulative_.assign(Steps + 1, 0.0);
        const double h = (b - a) / Steps;
        for (int i = 1; i <= Steps; ++i)
            cumulative_[static_cast<std::size_t>(i)] =
                cumulative_[static_cast<std::size_t>(i - 1)] + h * (density(a + (i - 0.5) * h));
    }
    double total() const { return cumulative_.back(); }
    double draw(double u) const {
        const double target = u * total();
        const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
        const std::size_t i = std::clamp<std::size_t>(static_cast<std::size_t>(it - cumulative_.begin()), 1, Steps);
        const double lo = cumulative_[i - 1], hi = cumulative_[i];
        const double frac = hi > lo ? (target - lo) / (hi - lo) : 0.5;
        return a_ + (static_cast<double>(i - 1) + frac) * (b_ - a_) / Steps;
    }

private:
    static constexpr int Steps = 2000;
    double a_, b_;
    std::vector<double> cumulative_;
};

}  // namespace

double ClusterSequenceBV(double M) {
    if (M >= Sequence.front().first) return Sequence.front().second;
    if (M <= Sequence.back().first) return Sequence.back().second;
    for (std::size_t i = 1; i < Sequence.size(); ++i) {
        const auto [m1, c1] = Sequence[i];
        const auto [m0, c0] = Sequence[i - 1];
        if (M >= m1) return c0 + (c1 - c0) * (M - m0) / (m1 - m0);
    }
    return Sequence.back().second;
}

double KingDensity(double r, double core, double tidal) {
    if (r >= tidal || core <= 0) return 0;
    const double edge = 1 / std::sqrt(1 + (tidal / core) * (tidal / core));
    const double v = 1 / std::sqrt(1 + (r / core) * (r / core)) - edge;
    return v * v;
}

std::vector<SyntheticStar> DrawClusterMembers(const ClusterDesign& c, double vMax, std::uint64_t seed) {
    std::vector<SyntheticStar> out;
    const double faintestM = std::min(vMax - c.distanceModulusV, Sequence.front().first);
    if (c.giantsAboveHB <= 0 || faintestM <= TipMV || c.tidalArcmin <= 0) return out;
    Draws draws(seed);

    // Scale the sequence so that the giants above the horizontal branch number as designed.
    const double giantsPerUnit = (std::pow(10.0, GiantSlope * (HorizontalBranchMV - TipMV)) - 1) / (GiantSlope * Ln10);
    const double scale = c.giantsAboveHB / giantsPerUnit;
    const Sampler sequence(TipMV, faintestM, SequenceDensity);
    const Sampler radius(0, c.tidalArcmin, [&](double r) { return r * KingDensity(r, c.coreArcmin, c.tidalArcmin); });

    const std::uint32_t onSequence = draws.poisson(scale * sequence.total());
    const std::uint32_t horizontal = draws.poisson(c.giantsAboveHB);
    const std::uint32_t asymptotic = draws.poisson(0.1 * c.giantsAboveHB);
    const double cosDec = std::cos(c.dec * D2R);
    auto place = [&](double M, double bv0, Luminosity lum) {
        SyntheticStar s;
        const double V0 = M + c.distanceModulusV;
        if (V0 > vMax) return;
        const double sigma = 0.01 + 0.03 * std::pow(10.0, 0.4 * (V0 - 19));
        s.V = V0 + sigma * draws.normal();
        s.BV = bv0 + c.ebv + 1.4 * sigma * draws.normal();
        s.UB = IntrinsicUB(bv0, lum) - UVExcess + 0.72 * c.ebv + 2 * sigma * draws.normal();
        s.spType = ParseSpType(TypeFromColour(bv0, '?', lum) + LuminosityText(lum));
        const double r = radius.draw(draws.uniform()) / 60, theta = 2 * 3.14159265358979323846 * draws.uniform();
        // Small offsets on the tangent plane.
        s.dec = c.dec + r * std::cos(theta);
        s.ra = c.ra + r * std::sin(theta) / std::max(cosDec, 1e-6) / 15;
        s.ra = std::fmod(s.ra + 24, 24);
        out.push_back(s);
    };
    for (std::uint32_t k = 0; k < onSequence; ++k) {
        const double M = sequence.draw(draws.uniform());
        place(M, ClusterSequenceBV(M), BranchOf(M));
    }
    for (std::uint32_t k = 0; k < horizontal; ++k) {
        const double bv0 = c.hbBlue + (c.hbRed - c.hbBlue) * draws.uniform();
        // The blue end is fainter in V: the bolometric correction grows.
        const double M = HorizontalBranchMV + (bv0 < 0 ? -4 * bv0 : 0) + 0.05 * draws.normal();
        place(M, bv0, Luminosity::Giant);
    }
    for (std::uint32_t k = 0; k < asymptotic; ++k) {
        const double M = HorizontalBranchMV - 0.2 - 1.8 * draws.uniform();
        place(M, ClusterSequenceBV(M) - 0.05, Luminosity::Giant);
    }
    return out;
}

}  // namespace qnr::datagen
