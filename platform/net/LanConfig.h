#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::net {

// Where discovery queries go: the broadcast addresses and the UDP port hosts listen on. Read
// from the environment, queries go to the broadcast address of every up, non-loopback IPv4
// interface (the limited broadcast 255.255.255.255 when there is none) and port kDefaultPort;
// GLYPHOR_LAN_BROADCAST (dotted IPv4) and GLYPHOR_LAN_PORT (1-65535) override address and port.
// A config made in code sends to `broadcast` alone.
struct LanConfig {
    static constexpr uint16_t kDefaultPort = 28764;
    static constexpr uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

    uint32_t broadcast = kLimitedBroadcast;  // host byte order
    uint16_t port = kDefaultPort;
    bool everyInterface = false;  // true: the interfaces' broadcast addresses instead of `broadcast`

    // The addresses a search sends its query to.
    std::vector<uint32_t> Targets() const;

    // nullopt when a variable is set but is not a valid address or port.
    static std::optional<LanConfig> FromEnvironment(std::string* error = nullptr);
    static std::optional<uint32_t> ParseAddress(const std::string& text);
    static std::optional<uint16_t> ParsePort(const std::string& text);
};

}  // namespace platform::net
