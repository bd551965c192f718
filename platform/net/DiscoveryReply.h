#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

// A host's answer to a DiscoveryQuery: the query's token and identifier, and what a searching
// side lists of the session, with the port its session host listens on.
struct DiscoveryReply {
    static constexpr uint8_t kKind = 2;
    // User values a host can draw: 0 to kUserValues - 1.
    static constexpr int32_t kUserValues = 200;

    uint64_t token = 0;
    std::string applicationId;
    uint64_t instance = 0;
    std::u16string sessionName;
    int32_t currentPlayers = 0;
    int32_t maxPlayers = 0;
    int32_t user1 = 0;
    uint16_t port = 0;

    std::vector<uint8_t> Encode() const;
    // Also refuses impossible counts (max 1..255, current 0..max), port 0 and a user value
    // outside 0..199.
    static std::optional<DiscoveryReply> Decode(std::span<const uint8_t> bytes);
};

}  // namespace platform::net
