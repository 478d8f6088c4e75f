#include "astro/Random.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"

namespace qnr {
namespace {

TEST(RandomGenerator, FollowsTheLinearCongruentialSequence) {
    RandomGenerator g;
    g.setSeed(0);
    EXPECT_EQ(g.nextSeed(), 1u);
    EXPECT_EQ(g.nextSeed(), 134775814u);
    // 134775814 x 134775813 + 1 mod 2^32, worked out in 64 bits
    EXPECT_EQ(g.nextSeed(), static_cast<std::uint32_t>(134775814ull * 134775813ull + 1ull));
}

TEST(RandomGenerator, RealAndIntegerComeFromTheAdvancedSeed) {
    RandomGenerator g;
    g.setSeed(0xFFFFFFFFu);  // advances to 0xFFFFFFFF x 134775813 + 1 = -134775812 mod 2^32
    const std::uint32_t s = static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull);
    EXPECT_DOUBLE_EQ(g.real(), s / 4294967296.0);
    g.setSeed(0xFFFFFFFFu);
    EXPECT_EQ(g.integer(10), static_cast<std::uint32_t>((static_cast<std::uint64_t>(s) * 10) >> 32));
    for (int i = 0; i < 1000; ++i) {
        EXPECT_LT(g.integer(7), 7u);
        double r = g.real();
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
    }
}

TEST(RandomGenerator, RandomizeUsesTheCounterElseTheTick) {
    test::FakeClock clock;
    RandomGenerator g;
    clock.counter = 0x1234567890ull;
    g.randomize(clock);
    EXPECT_EQ(g.seed(), 0x34567890u);
    clock.counter = 0;
    clock.tick = 4242;
    g.randomize(clock);
    EXPECT_EQ(g.seed(), 4242u);
}

TEST(RandomGenerator, TheProcessWideInstanceIsShared) {
    RandomGenerator::global().setSeed(5);
    RandomReal();
    EXPECT_EQ(RandomGenerator::global().seed(), 5u * 134775813u + 1u);
}

}  // namespace
}  // namespace qnr
