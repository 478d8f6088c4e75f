// Photon statistics: Poisson deviates by their moments, LnGamma and the
// normal table against the exact distribution.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/Random.h"
#include "photometry/PhotStat.h"
#include "support/Fakes.h"

namespace qnr {
namespace {

struct Moments {
    long double mean = 0;
    long double variance = 0;
    long double zeros = 0;  // share of draws that were 0
};

Moments Draw(PoissonDeviate& poisson, Extended mean, int n) {
    std::vector<Extended> k(static_cast<std::size_t>(n));
    Moments m;
    for (auto& x : k) {
        x = poisson.Next(mean);
        m.mean += x;
        if (x == 0) m.zeros += 1;
    }
    m.mean /= n;
    for (Extended x : k) m.variance += (x - m.mean) * (x - m.mean);
    m.variance /= n - 1;
    m.zeros /= n;
    return m;
}

TEST(PoissonDeviateTest, MeanAndVarianceMatchThePoissonLaw) {
    // Both moments of Poisson(mu) equal mu. Over n draws the sample mean has
    // the standard error sqrt(mu / n) and the sample variance sqrt((mu + 2 mu^2) / n)
    // (fourth central moment mu + 3 mu^2); five standard errors leave room for
    // any honest generator, while a method off by a few per cent fails.
    // Means below 12 take the multiplication method, 12 and above the rejection one.
    constexpr int n = 40000;
    PoissonDeviate poisson(20260314u);
    for (Extended mu : {0.3L, 2.5L, 11.9L, 12.0L, 40.0L, 1000.0L, 250000.0L}) {
        const Moments m = Draw(poisson, mu, n);
        const long double seMean = std::sqrt(mu / n);
        const long double seVar = std::sqrt((mu + 2 * mu * mu) / n);
        EXPECT_NEAR(m.mean, mu, 5 * seMean) << "mean " << static_cast<double>(mu);
        EXPECT_NEAR(m.variance, mu, 5 * seVar) << "mean " << static_cast<double>(mu);
    }
}

TEST(PoissonDeviateTest, ShareOfZerosIsExpOfMinusTheMean) {
    // P(0) = exp(-mu); its estimate over n draws has the standard error
    // sqrt(p (1 - p) / n), again with five of them allowed.
    constexpr int n = 40000;
    PoissonDeviate poisson(7u);
    for (Extended mu : {0.5L, 3.0L}) {
        const Moments m = Draw(poisson, mu, n);
        const long double p = std::exp(-mu);
        EXPECT_NEAR(m.zeros, p, 5 * std::sqrt(p * (1 - p) / n)) << static_cast<double>(mu);
    }
}

TEST(PoissonDeviateTest, EdgeMeansAndSeeding) {
    PoissonDeviate poisson(99u);
    EXPECT_EQ(RandomGenerator::global().seed(), 99u);  // a non-zero seed becomes the process seed
    for (int i = 0; i < 100; ++i) EXPECT_EQ(poisson.Next(0), 0);
    for (int i = 0; i < 1000; ++i) {
        const Extended k = poisson.Next(i % 2 ? 5.5L : 30.0L);  // the stored mean changes every draw
        EXPECT_GE(k, 0);
        EXPECT_EQ(k, std::trunc(k));
    }
    EXPECT_EQ(poisson.lastMean(), 5.5L);

    // The same seed gives the same draws, whatever came before.
    PoissonDeviate a(4242u);
    std::vector<Extended> first;
    for (int i = 0; i < 50; ++i) first.push_back(a.Next(i % 3 ? 7.0L : 80.0L));
    PoissonDeviate b(4242u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(b.Next(i % 3 ? 7.0L : 80.0L), first[static_cast<std::size_t>(i)]);

    // Seed 0 takes the clock's high-resolution counter.
    test::FakeClock clock;
    clock.counter = 0x1234567890ull;
    PoissonDeviate c(0u, &clock);
    EXPECT_EQ(RandomGenerator::global().seed(), 0x34567890u);
}

TEST(LnGammaTest, AgreesWithTheLibrary) {
    // The six-term series is good to about 2e-10 relative for x >= 1, the only
    // arguments used (13 and more in practice).
    for (long double x : {1.0L, 2.5L, 13.0L, 20.5L, 100.0L, 1001.0L, 250001.0L}) {
        const long double exact = std::lgamma(x);
        EXPECT_NEAR(LnGamma(x), exact, 1e-9L * std::max(1.0L, std::fabs(exact))) << static_cast<double>(x);
    }
    EXPECT_NEAR(LnGamma(13), std::log(479001600.0L), 1e-9L);  // 12!
}

TEST(NormalTableTest, ValuesOfTheCumulativeNormalDistribution) {
    // T[i] integrates from -5, so Value(x) = Phi(x) - Phi(-5) with
    // Phi(-5) = 2.8665e-7. The integration stops at 1e-7 relative change and
    // linear interpolation between points 0.1 apart errs by up to
    // h^2/8 x max|phi'| = 0.01/8 x 0.242 = 3e-4, so off the points 4e-4 is allowed,
    // on them 1e-6.
    const NormalTable table(10);
    ASSERT_EQ(table.intervals(), 100);
    auto phi = [](long double x) { return 0.5L * std::erfc(-x / std::sqrt(2.0L)) - 0.5L * std::erfc(5 / std::sqrt(2.0L)); };
    struct Case {
        long double x;
        long double tolerance;
    };
    for (const Case& c : std::vector<Case>{{-5.0L, 1e-12L}, {-3.0L, 1e-6L}, {-1.0L, 1e-6L}, {0.0L, 1e-6L},
                                           {1.0L, 1e-6L},   {2.0L, 1e-6L}, {4.9L, 1e-6L}, {-2.55L, 4e-4L},
                                           {0.05L, 4e-4L},  {3.33L, 4e-4L}})
        EXPECT_NEAR(table.Value(c.x), phi(c.x), c.tolerance) << static_cast<double>(c.x);

    // One standard deviation either side: 0.6827.
    EXPECT_NEAR(table.NormalFraction(1, -1), 0.682689L, 1e-6L);
    // The ends of the table.
    EXPECT_EQ(table.Value(-5), 0);
    EXPECT_EQ(table.Value(-5.01L), 0);
    EXPECT_EQ(table.Value(5), table.entry(100));
    EXPECT_NEAR(table.Value(5), 1 - 2 * 2.8665157e-7L, 1e-6L);
    EXPECT_EQ(table.Value(5.0001L), 1);
    // Just below the end interpolates inside the last interval.
    EXPECT_GT(table.Value(4.9999L), table.entry(99));
    EXPECT_LE(table.Value(4.9999L), table.entry(100));
}

TEST(NormalTableTest, FinerTablesAgree) {
    // With 100 points per unit the interpolation error falls 100-fold (3e-6).
    const NormalTable fine(100);
    EXPECT_EQ(fine.intervals(), 1000);
    for (long double x : {-2.555L, 0.123L, 2.345L})
        EXPECT_NEAR(fine.Value(x), 0.5L * std::erfc(-x / std::sqrt(2.0L)), 4e-6L) << static_cast<double>(x);
    EXPECT_EQ(fine.Value(5), fine.entry(1000));
}

}  // namespace
}  // namespace qnr
