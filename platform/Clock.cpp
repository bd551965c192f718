#include "platform/Clock.h"

#include <atomic>
#include <ctime>

namespace platform {
namespace {

std::atomic<bool> g_virtual{false};
std::atomic<uint32_t> g_virtualNow{0};
// While following the real clock: virtual = g_virtualNow + (real - g_realBase).
std::atomic<bool> g_follow{false};
std::atomic<uint32_t> g_realBase{0};

uint32_t RealNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

}  // namespace

uint32_t Clock::Now() {
    if (!g_virtual.load()) return RealNow();
    if (g_follow.load()) return g_virtualNow.load() + (RealNow() - g_realBase.load());
    return g_virtualNow.load();
}

void Clock::UseVirtual(uint32_t start) {
    g_follow.store(false);
    g_virtualNow.store(start);
    g_virtual.store(true);
}

void Clock::FollowReal() {
    if (!g_virtual.load() || g_follow.load()) return;
    g_realBase.store(RealNow());
    g_follow.store(true);
}

bool Clock::FollowsReal() { return g_virtual.load() && g_follow.load(); }

void Clock::AdvanceTo(uint32_t virtualNow) {
    if (g_virtual.load() && !g_follow.load()) g_virtualNow.store(virtualNow);
}

void Clock::UseReal() {
    g_follow.store(false);
    g_virtual.store(false);
}

}  // namespace platform
