#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

// The broadcast a searching side sends: the application identifier it looks for and a fresh
// token that the answers must carry back.
struct DiscoveryQuery {
    static constexpr uint8_t kKind = 1;
    // Longest accepted datagram of either discovery kind.
    static constexpr size_t kMaxDatagram = 2400;

    uint64_t token = 0;
    std::string applicationId;

    std::vector<uint8_t> Encode() const;
    static std::optional<DiscoveryQuery> Decode(std::span<const uint8_t> bytes);
};

// Bytes every discovery datagram starts with, before its kind.
inline constexpr uint8_t kDiscoveryMagic[4] = {'G', 'L', 'Y', 'D'};

}  // namespace platform::net
