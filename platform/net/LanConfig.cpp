#include "platform/net/LanConfig.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstdlib>

#include "platform/net/InterfaceBroadcasts.h"

namespace platform::net {

std::optional<uint32_t> LanConfig::ParseAddress(const std::string& text) {
    in_addr addr{};
    if (inet_pton(AF_INET, text.c_str(), &addr) != 1) return std::nullopt;
    return ntohl(addr.s_addr);
}

std::optional<uint16_t> LanConfig::ParsePort(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > 65535) return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::vector<uint32_t> LanConfig::Targets() const {
    if (!everyInterface) return {broadcast};
    std::vector<uint32_t> targets = InterfaceBroadcasts();
    if (targets.empty()) targets.push_back(kLimitedBroadcast);
    return targets;
}

std::optional<LanConfig> LanConfig::FromEnvironment(std::string* error) {
    LanConfig config;
    config.everyInterface = true;
    if (const char* text = std::getenv("GLYPHOR_LAN_BROADCAST"); text && *text) {
        config.everyInterface = false;
        auto addr = ParseAddress(text);
        if (!addr) {
            if (error) *error = std::string("GLYPHOR_LAN_BROADCAST is not an IPv4 address: ") + text;
            return std::nullopt;
        }
        config.broadcast = *addr;
    }
    if (const char* text = std::getenv("GLYPHOR_LAN_PORT"); text && *text) {
        auto port = ParsePort(text);
        if (!port) {
            if (error) *error = std::string("GLYPHOR_LAN_PORT is not a port number: ") + text;
            return std::nullopt;
        }
        config.port = *port;
    }
    return config;
}

}  // namespace platform::net
