#pragma once
// The one process-wide pseudo-random generator from which all simulated noise
// is drawn: seed := seed x 134775813 + 1 (mod 2^32).
#include <cstdint>

namespace qnr {

namespace platform { class Clock; }

class RandomGenerator {
public:
    // The process-wide instance.
    static RandomGenerator& global();

    void setSeed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t seed() const { return seed_; }

    // Advances the seed and returns it.
    std::uint32_t nextSeed() {
        seed_ = seed_ * 134775813u + 1u;
        return seed_;
    }
    // [0, 1)
    double real() { return static_cast<double>(nextSeed()) / 4294967296.0; }
    // [0, n) for n >= 1: the high 32 bits of seed x n.
    std::uint32_t integer(std::uint32_t n) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(nextSeed()) * n) >> 32);
    }
    // Seeds from the high-resolution counter, else from the millisecond tick.
    void randomize(platform::Clock& clock);

private:
    std::uint32_t seed_ = 0;
};

// The operations under their system-wide names, on the process-wide generator.
inline double RandomReal() { return RandomGenerator::global().real(); }
inline std::uint32_t RandomInt(std::uint32_t n) { return RandomGenerator::global().integer(n); }
void Randomize(platform::Clock& clock);

}  // namespace qnr
