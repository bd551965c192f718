#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

// One message of the game's table: a 32-bit type and the values of that type, in order.
//   0 settings       TextListID, ServerPlayerID, PoliceCarOrBike, ThiefCarOrBike (8-bit each)
//   1 race text      a string
//   2 settings request, 3 start, 4 reserved, 5 the sender won: no values
//   6 progress       InputPos (32-bit), Speed (32-bit float)
// Decode accepts only a known type whose values fill the bytes exactly, with finite floats and
// strings of at most kMaxStringUnits units.
struct GameMessage {
    enum Type : int32_t {
        kSettings = 0,
        kText = 1,
        kRequestSettings = 2,
        kReady = 3,
        kReserved = 4,
        kOver = 5,
        kProgress = 6,
    };

    int32_t type = kReserved;
    uint8_t textListId = 0;
    uint8_t serverPlayerId = 0;
    uint8_t policeCarOrBike = 0;
    uint8_t thiefCarOrBike = 0;
    std::u16string text;
    int32_t inputPos = 0;
    float speed = 0.0f;

    static GameMessage Settings(uint8_t textListId, uint8_t serverPlayerId, uint8_t policeCarOrBike,
                                uint8_t thiefCarOrBike);
    static GameMessage Text(std::u16string text);
    static GameMessage Plain(Type type);
    static GameMessage Progress(int32_t inputPos, float speed);

    std::vector<uint8_t> Encode() const;
    static std::optional<GameMessage> Decode(std::span<const uint8_t> bytes);
};

}  // namespace platform::net
