#include "platform/Random.h"

#include <cstdlib>
#include <random>
#include <string>

#include "platform/Clock.h"

namespace platform {
namespace {

std::mt19937_64& Engine() {
    static std::mt19937_64 engine(1);
    return engine;
}

bool g_firstSeedDone = false;

}  // namespace

double Random::Next() {
    // 53 random bits give every double in [0, 1) the generator can reach evenly.
    const uint64_t bits = Engine()() >> 11;
    return static_cast<double>(bits) * (1.0 / 9007199254740992.0);
}

void Random::Seed(uint64_t seed) { Engine().seed(seed); }

void Random::SeedFromClock() {
    if (!g_firstSeedDone) {
        g_firstSeedDone = true;
        if (const char* fixed = std::getenv("GLYPHOR_SEED"); fixed != nullptr && *fixed != '\0') {
            char* end = nullptr;
            const unsigned long long value = std::strtoull(fixed, &end, 10);
            if (end != nullptr && *end == '\0') {
                Seed(value);
                return;
            }
        }
    }
    Seed(Clock::Now());
}

}  // namespace platform
