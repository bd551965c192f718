#pragma once
#include <cstdint>

namespace platform {

// Monotonic milliseconds, 32 bits, wrapping. A scripted run replaces it with a virtual clock
// that only moves when the script runner moves it.
class Clock {
public:
    static uint32_t Now();
    static void UseVirtual(uint32_t start);
    static void AdvanceTo(uint32_t virtualNow);  // virtual clock only
    // From now on the virtual clock follows the real one at the normal pace, going on from the
    // value it holds (no jump). AdvanceTo then does nothing; UseVirtual ends it.
    static void FollowReal();
    static bool FollowsReal();
    // Back to the real clock (tests that used a virtual one).
    static void UseReal();
};

}  // namespace platform
