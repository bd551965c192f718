#include "platform/net/DiscoveryReply.h"

#include "platform/net/DiscoveryQuery.h"
#include "platform/net/WireReader.h"
#include "platform/net/WireWriter.h"

namespace platform::net {

std::vector<uint8_t> DiscoveryReply::Encode() const {
    WireWriter w;
    DiscoveryQuery::WriteHead(w, kKind, token, applicationId);
    w.UInt64(instance).String(sessionName);
    w.Int32(currentPlayers).Int32(maxPlayers).Int32(user1).UInt16(port);
    return w.Take();
}

std::optional<DiscoveryReply> DiscoveryReply::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() > DiscoveryQuery::kMaxDatagram) return std::nullopt;
    WireReader r(bytes);
    DiscoveryReply a;
    if (!DiscoveryQuery::ReadHead(r, kKind, a.token, a.applicationId)) return std::nullopt;
    r.UInt64(a.instance);
    r.String(a.sessionName);
    r.Int32(a.currentPlayers);
    r.Int32(a.maxPlayers);
    r.Int32(a.user1);
    r.UInt16(a.port);
    if (!r.AtEnd()) return std::nullopt;
    if (a.maxPlayers < 1 || a.maxPlayers > 255) return std::nullopt;
    if (a.currentPlayers < 0 || a.currentPlayers > a.maxPlayers) return std::nullopt;
    if (a.port == 0) return std::nullopt;
    // A host draws its user value from 0 to 199; the lobby computes its latency column from it.
    if (a.user1 < 0 || a.user1 >= kUserValues) return std::nullopt;
    return a;
}

}  // namespace platform::net
