#include "platform/net/SessionPacket.h"

#include <algorithm>

#include "platform/net/GameMessage.h"
#include "platform/net/WireReader.h"
#include "platform/net/WireWriter.h"

namespace platform::net {

namespace {

void WritePlayers(WireWriter& w, const std::vector<PlayerInfo>& players) {
    w.UInt32(static_cast<uint32_t>(players.size()));
    for (const auto& p : players) w.Int32(p.id).String(p.shortName).String(p.longName);
}

bool ReadPlayers(WireReader& r, std::vector<PlayerInfo>& players) {
    uint32_t count = 0;
    if (!r.UInt32(count) || count > SessionPacket::kMaxPlayers) return false;
    for (uint32_t i = 0; i < count; ++i) {
        PlayerInfo p;
        if (!r.Int32(p.id) || !r.String(p.shortName) || !r.String(p.longName)) return false;
        if (p.id == 0) return false;
        for (const auto& other : players)
            if (other.id == p.id) return false;
        players.push_back(std::move(p));
    }
    return true;
}

}  // namespace

SessionPacket SessionPacket::Join(std::u16string password, std::u16string shortName, std::u16string longName) {
    SessionPacket p;
    p.kind = kJoin;
    p.password = std::move(password);
    p.shortName = std::move(shortName);
    p.longName = std::move(longName);
    return p;
}

SessionPacket SessionPacket::Accept(int32_t playerId, std::vector<PlayerInfo> players) {
    SessionPacket p;
    p.kind = kAccept;
    p.playerId = playerId;
    p.players = std::move(players);
    return p;
}

SessionPacket SessionPacket::Players(std::vector<PlayerInfo> players) {
    SessionPacket p;
    p.kind = kPlayers;
    p.players = std::move(players);
    return p;
}

SessionPacket SessionPacket::Refuse(uint32_t reason) {
    SessionPacket p;
    p.kind = kRefuse;
    p.reason = reason;
    return p;
}

SessionPacket SessionPacket::Game(std::vector<uint8_t> message) {
    SessionPacket p;
    p.kind = kGame;
    p.game = std::move(message);
    return p;
}

std::vector<uint8_t> SessionPacket::Encode() const {
    WireWriter w;
    w.Byte(kind);
    switch (kind) {
    case kJoin:
        w.String(password).String(shortName).String(longName);
        break;
    case kAccept:
        w.Int32(playerId);
        WritePlayers(w, players);
        break;
    case kPlayers:
        WritePlayers(w, players);
        break;
    case kRefuse:
        w.UInt32(reason);
        break;
    case kGame: {
        std::vector<uint8_t> out = w.Take();
        out.insert(out.end(), game.begin(), game.end());
        return out;
    }
    }
    return w.Take();
}

std::optional<SessionPacket> SessionPacket::Decode(std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > kMaxBytes) return std::nullopt;
    SessionPacket p;
    WireReader r(bytes.subspan(1));
    switch (bytes[0]) {
    case kJoin:
        p.kind = kJoin;
        r.String(p.password);
        r.String(p.shortName);
        r.String(p.longName);
        break;
    case kAccept:
        p.kind = kAccept;
        if (!r.Int32(p.playerId) || p.playerId == 0 || !ReadPlayers(r, p.players)) return std::nullopt;
        if (std::none_of(p.players.begin(), p.players.end(), [&](const PlayerInfo& pl) { return pl.id == p.playerId; }))
            return std::nullopt;
        break;
    case kPlayers:
        p.kind = kPlayers;
        if (!ReadPlayers(r, p.players)) return std::nullopt;
        break;
    case kRefuse:
        p.kind = kRefuse;
        r.UInt32(p.reason);
        break;
    case kGame:
        p.kind = kGame;
        if (!GameMessage::Decode(bytes.subspan(1))) return std::nullopt;
        p.game.assign(bytes.begin() + 1, bytes.end());
        return p;
    default:
        return std::nullopt;
    }
    if (!r.AtEnd()) return std::nullopt;
    return p;
}

}  // namespace platform::net
