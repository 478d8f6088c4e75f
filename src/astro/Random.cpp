#include "astro/Random.h"

#include "platform/Clock.h"

namespace qnr {

RandomGenerator& RandomGenerator::global() {
    static RandomGenerator generator;
    return generator;
}

void RandomGenerator::randomize(platform::Clock& clock) {
    std::uint64_t counter = clock.performanceCounter();
    seed_ = counter != 0 ? static_cast<std::uint32_t>(counter) : clock.tickMs();
}

void Randomize(platform::Clock& clock) { RandomGenerator::global().randomize(clock); }

}  // namespace qnr
