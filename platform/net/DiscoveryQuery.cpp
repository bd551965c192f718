#include "platform/net/DiscoveryQuery.h"

#include "platform/net/WireReader.h"
#include "platform/net/WireWriter.h"

namespace platform::net {

namespace {
constexpr uint32_t kMaxIdUnits = 64;
}

std::vector<uint8_t> DiscoveryQuery::Encode() const {
    WireWriter w;
    for (uint8_t b : kDiscoveryMagic) w.Byte(b);
    w.Byte(kKind).UInt64(token).Ascii(applicationId);
    return w.Take();
}

std::optional<DiscoveryQuery> DiscoveryQuery::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxDatagram) return std::nullopt;
    WireReader r(bytes);
    for (uint8_t expected : kDiscoveryMagic) {
        uint8_t b = 0;
        if (!r.Byte(b) || b != expected) return std::nullopt;
    }
    uint8_t kind = 0;
    DiscoveryQuery q;
    if (!r.Byte(kind) || kind != kKind) return std::nullopt;
    r.UInt64(q.token);
    r.Ascii(q.applicationId, kMaxIdUnits);
    if (!r.AtEnd()) return std::nullopt;
    return q;
}

}  // namespace platform::net
