#pragma once
#include <cstdint>

namespace platform {

// The program's one random generator, uniform in [0, 1).
class Random {
public:
    static double Next();
    static void Seed(uint64_t seed);
    // Reseeds from Clock (GLYPHOR_SEED fixes the first seed instead).
    static void SeedFromClock();
};

}  // namespace platform
