#include "photometry/PhotStat.h"

#include <cmath>

#include "astro/MathStd.h"
#include "astro/Random.h"

namespace qnr {

Extended LnGamma(Extended x) {
    static constexpr Extended Coefficients[6] = {76.18009173L,    -86.50532033L,  24.01409822L,
                                                 -1.231739516L,   0.00120858003L, -0.00000536382L};
    Extended z = x - 1;
    Extended tmp = z + 5.5L;
    tmp = (z + 0.5L) * std::log(tmp) - tmp;
    Extended ser = 1;
    for (Extended c : Coefficients) {
        z += 1;
        ser += c / z;
    }
    return tmp + std::log(2.50662827465L * ser);
}

PoissonDeviate::PoissonDeviate(std::uint32_t seed, platform::Clock* clock) {
    if (seed != 0)
        RandomGenerator::global().setSeed(seed);
    else if (clock)
        Randomize(*clock);
}

Extended PoissonDeviate::Next(Extended mean) {
    if (mean < 12) {
        if (mean != lastMean_) {
            lastMean_ = mean;
            g_ = std::exp(-mean);
        }
        // Multiply uniform deviates until the product falls to exp(-mean).
        Extended k = -1;
        Extended t = 1;
        do {
            k += 1;
            t *= RandomReal();
        } while (t > g_);
        return k;
    }
    if (mean != lastMean_) {
        lastMean_ = mean;
        sq_ = std::sqrt(2 * mean);
        al_ = std::log(mean);
        g_ = mean * al_ - LnGamma(mean + 1);
    }
    // Rejection from a Lorentzian comparison function.
    Extended k = 0;
    Extended t = 0;
    do {
        Extended y = 0;
        do {
            y = std::tan(Pi * RandomReal());
            k = sq_ * y + mean;
        } while (k < 0);
        k = std::trunc(k);
        const Extended e = k * al_ - LnGamma(k + 1) - g_;
        t = e < -30 ? 0 : 0.9L * (1 + y * y) * std::exp(e);
    } while (RandomReal() > t);
    return k;
}

namespace {

Extended Density(Extended x) { return std::exp(-x * x / 2) / std::sqrt(2 * Pi); }

// Simpson's rule from trapezoid sums of doubling resolution, until two
// successive estimates agree to 1e-7 of the earlier one or after ten refinements.
Extended Simpson(Extended a, Extended b) {
    const Extended width = b - a;
    Extended trapezoid = width * (Density(a) + Density(b)) / 2;
    Extended estimate = 0;
    int points = 1;
    for (int refinement = 0; refinement <= 10; ++refinement) {
        const Extended step = width / points;
        Extended sum = 0;
        for (int i = 0; i < points; ++i) sum += Density(a + (i + 0.5L) * step);
        const Extended finer = (trapezoid + step * sum) / 2;
        const Extended next = (4 * finer - trapezoid) / 3;
        trapezoid = finer;
        points *= 2;
        if (refinement > 0 && std::fabs(next - estimate) < 1e-7L * std::fabs(estimate)) return next;
        estimate = next;
    }
    return estimate;
}

}  // namespace

NormalTable::NormalTable(int perUnit) : n_(10 * (perUnit > 0 ? perUnit : 1)), table_(static_cast<std::size_t>(n_) + 1) {
    const Extended k = static_cast<Extended>(n_) / 10;
    table_[0] = 0;
    for (int i = 1; i <= n_; ++i) table_[static_cast<std::size_t>(i)] = Simpson(-5, -5 + i / k);
}

Extended NormalTable::Value(Extended x) const {
    if (x < -5) return 0;
    if (x > 5) return 1;
    const Extended a = (x + 5) * n_ / 10;
    const auto i = static_cast<int>(std::trunc(a));
    // The last point has no interval after it.
    if (i >= n_) return table_[static_cast<std::size_t>(n_)];
    const Extended lower = table_[static_cast<std::size_t>(i)];
    return lower + (table_[static_cast<std::size_t>(i) + 1] - lower) * Frac(a);
}

}  // namespace qnr
