#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/net/SessionTypes.h"

namespace platform::net {

// What travels on a session's one reliable ordered channel: a kind byte and its record.
//   Join    client -> host: password, the new player's short and long name
//   Accept  host -> client: the id given to the client's player, then the player list
//   Players host -> client: the player list after a change
//   Refuse  host -> client: why the join was refused
//   Game    either way: one game message (validated separately, see GameMessage)
struct SessionPacket {
    enum Kind : uint8_t { kJoin = 1, kAccept = 2, kPlayers = 3, kRefuse = 4, kGame = 5 };
    enum Reason : uint32_t { kFull = 1, kWrongPassword = 2 };
    static constexpr size_t kMaxPlayers = 8;
    static constexpr size_t kMaxBytes = 16 * 1024;

    Kind kind = kGame;
    std::u16string password;
    std::u16string shortName;
    std::u16string longName;
    int32_t playerId = 0;
    std::vector<PlayerInfo> players;
    uint32_t reason = 0;
    std::vector<uint8_t> game;

    static SessionPacket Join(std::u16string password, std::u16string shortName, std::u16string longName);
    static SessionPacket Accept(int32_t playerId, std::vector<PlayerInfo> players);
    static SessionPacket Players(std::vector<PlayerInfo> players);
    static SessionPacket Refuse(uint32_t reason);
    static SessionPacket Game(std::vector<uint8_t> message);

    std::vector<uint8_t> Encode() const;
    // Player ids must be non-zero and distinct; a game record must be a valid game message.
    static std::optional<SessionPacket> Decode(std::span<const uint8_t> bytes);
};

}  // namespace platform::net
