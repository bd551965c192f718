#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

class WireReader;
class WireWriter;

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

    // Every discovery datagram starts alike: kDiscoveryMagic, its kind, the token and the
    // application identifier. ReadHead fails unless the magic and `kind` are there.
    static void WriteHead(WireWriter& w, uint8_t kind, uint64_t token, const std::string& applicationId);
    static bool ReadHead(WireReader& r, uint8_t kind, uint64_t& token, std::string& applicationId);
};

// Bytes every discovery datagram starts with, before its kind.
inline constexpr uint8_t kDiscoveryMagic[4] = {'G', 'L', 'Y', 'D'};

}  // namespace platform::net
