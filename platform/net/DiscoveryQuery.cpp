#include "platform/net/DiscoveryQuery.h"

#include "platform/net/WireReader.h"
#include "platform/net/WireWriter.h"

namespace platform::net {

namespace {
constexpr uint32_t kMaxIdUnits = 64;
}

void DiscoveryQuery::WriteHead(WireWriter& w, uint8_t kind, uint64_t token, const std::string& applicationId) {
    for (uint8_t b : kDiscoveryMagic) w.Byte(b);
    w.Byte(kind).UInt64(token).Ascii(applicationId);
}

bool DiscoveryQuery::ReadHead(WireReader& r, uint8_t kind, uint64_t& token, std::string& applicationId) {
    for (uint8_t expected : kDiscoveryMagic) {
        uint8_t b = 0;
        if (!r.Byte(b) || b != expected) return false;
    }
    uint8_t found = 0;
    if (!r.Byte(found) || found != kind) return false;
    r.UInt64(token);
    r.Ascii(applicationId, kMaxIdUnits);
    return r.Ok();
}

std::vector<uint8_t> DiscoveryQuery::Encode() const {
    WireWriter w;
    WriteHead(w, kKind, token, applicationId);
    return w.Take();
}

std::optional<DiscoveryQuery> DiscoveryQuery::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxDatagram) return std::nullopt;
    WireReader r(bytes);
    DiscoveryQuery q;
    if (!ReadHead(r, kKind, q.token, q.applicationId) || !r.AtEnd()) return std::nullopt;
    return q;
}

}  // namespace platform::net
