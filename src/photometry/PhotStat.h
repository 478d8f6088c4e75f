#pragma once
// Photon statistics: Poisson-distributed counts drawn from the process-wide
// random generator, and the tabulated cumulative normal distribution from
// which aperture and slit shares are read.
#include <cstdint>
#include <vector>

#include "astro/Types.h"

namespace qnr {

namespace platform { class Clock; }

// ln Gamma(x) for x > 0 (Lanczos series, about 1e-10 relative).
Extended LnGamma(Extended x);

// Poisson deviates. The values derived from the mean are kept, so that the
// draws of a reading, all with one mean, skip the exponential and LnGamma.
class PoissonDeviate {
public:
    // Seed 0 seeds the process generator from the clock; any other seed
    // becomes the process seed.
    explicit PoissonDeviate(std::uint32_t seed, platform::Clock* clock = nullptr);

    // A whole number >= 0 with the given mean; 0 for a mean of 0 or less.
    Extended Next(Extended mean);

    Extended lastMean() const { return lastMean_; }

private:
    Extended lastMean_ = -1;
    Extended sq_ = 0;  // sqrt(2 x mean)
    Extended al_ = 0;  // ln(mean)
    Extended g_ = 0;   // exp(-mean) below 12, else mean x ln(mean) - LnGamma(mean + 1)
};

// The standard normal distribution integrated from -5 to -5 + i/k, for the
// N + 1 = 10k + 1 points of [-5, 5], interpolated linearly between them.
class NormalTable {
public:
    explicit NormalTable(int perUnit = 10);

    // 0 below -5, 1 above 5, T[N] at 5 itself.
    Extended Value(Extended x) const;
    // Value(a) - Value(b).
    Extended NormalFraction(Extended a, Extended b) const { return Value(a) - Value(b); }

    int intervals() const { return n_; }
    Extended entry(int i) const { return table_[static_cast<std::size_t>(i)]; }

private:
    int n_ = 0;
    std::vector<Extended> table_;
};

}  // namespace qnr
