#pragma once
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/net/LanConfig.h"

namespace nettest {

// A discovery port of this test process: every test program runs in its own process, so the
// process id keeps concurrent runs apart and `slot` keeps the tests of one run apart.
inline uint16_t TestPort(int slot) { return static_cast<uint16_t>(21000 + (getpid() % 1400) * 30 + slot); }

// Loopback broadcast on the test's port; also sets the environment for code that reads it.
inline platform::net::LanConfig LoopbackConfig(int slot) {
    platform::net::LanConfig config;
    config.broadcast = 0x7FFFFFFFu;  // 127.255.255.255
    config.port = TestPort(slot);
    setenv("GLYPHOR_LAN_BROADCAST", "127.255.255.255", 1);
    setenv("GLYPHOR_LAN_PORT", std::to_string(config.port).c_str(), 1);
    return config;
}

// Polls `done` every few milliseconds until it holds or `limit` passes.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace nettest
