#include "platform/net/EnetClock.h"

#include <enet/enet.h>
#include <time.h>

#include <atomic>
#include <cstdint>

// The network library reads its packet clock from the wall clock. A clock set forward during a
// race (a time server's correction, a resume) makes every packet in flight look seconds late,
// and the other player is cut off. The library calls these two through the dynamic linker, so
// the program's definitions take the place of its own and the clock is the monotonic one.

namespace {

std::atomic<uint64_t> g_base{0};

uint64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace

extern "C" {

enet_uint32 enet_time_get(void) { return static_cast<enet_uint32>(MonotonicMs() - g_base.load()); }

void enet_time_set(enet_uint32 newTimeBase) { g_base.store(MonotonicMs() - newTimeBase); }

}  // extern "C"

namespace platform::net {

bool StartEnet() {
    static const bool ok = enet_initialize() == 0;
    return ok;
}

}  // namespace platform::net
