#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform::net {

// Where discovery queries go: the broadcast address and the UDP port hosts listen on.
// GLYPHOR_LAN_BROADCAST (dotted IPv4) and GLYPHOR_LAN_PORT (1-65535) override the defaults,
// the limited broadcast address 255.255.255.255 and port kDefaultPort.
struct LanConfig {
    static constexpr uint16_t kDefaultPort = 28764;

    uint32_t broadcast = 0xFFFFFFFFu;  // host byte order
    uint16_t port = kDefaultPort;

    // nullopt when a variable is set but is not a valid address or port.
    static std::optional<LanConfig> FromEnvironment(std::string* error = nullptr);
    static std::optional<uint32_t> ParseAddress(const std::string& text);
    static std::optional<uint16_t> ParsePort(const std::string& text);
};

}  // namespace platform::net
