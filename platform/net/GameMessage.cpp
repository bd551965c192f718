#include "platform/net/GameMessage.h"

#include "platform/net/WireReader.h"
#include "platform/net/WireWriter.h"

namespace platform::net {

GameMessage GameMessage::Settings(uint8_t textListId, uint8_t serverPlayerId, uint8_t policeCarOrBike,
                                  uint8_t thiefCarOrBike) {
    GameMessage m;
    m.type = kSettings;
    m.textListId = textListId;
    m.serverPlayerId = serverPlayerId;
    m.policeCarOrBike = policeCarOrBike;
    m.thiefCarOrBike = thiefCarOrBike;
    return m;
}

GameMessage GameMessage::Text(std::u16string text) {
    GameMessage m;
    m.type = kText;
    m.text = std::move(text);
    return m;
}

GameMessage GameMessage::Plain(Type type) {
    GameMessage m;
    m.type = type;
    return m;
}

GameMessage GameMessage::Progress(int32_t inputPos, float speed) {
    GameMessage m;
    m.type = kProgress;
    m.inputPos = inputPos;
    m.speed = speed;
    return m;
}

std::vector<uint8_t> GameMessage::Encode() const {
    WireWriter w;
    w.Int32(type);
    switch (type) {
    case kSettings:
        w.Byte(textListId).Byte(serverPlayerId).Byte(policeCarOrBike).Byte(thiefCarOrBike);
        break;
    case kText:
        w.String(text);
        break;
    case kProgress:
        w.Int32(inputPos).Float(speed);
        break;
    default:
        break;
    }
    return w.Take();
}

std::optional<GameMessage> GameMessage::Decode(std::span<const uint8_t> bytes) {
    WireReader r(bytes);
    GameMessage m;
    if (!r.Int32(m.type)) return std::nullopt;
    switch (m.type) {
    case kSettings:
        r.Byte(m.textListId);
        r.Byte(m.serverPlayerId);
        r.Byte(m.policeCarOrBike);
        r.Byte(m.thiefCarOrBike);
        break;
    case kText:
        r.String(m.text);
        break;
    case kRequestSettings:
    case kReady:
    case kReserved:
    case kOver:
        break;
    case kProgress:
        r.Int32(m.inputPos);
        r.Float(m.speed);
        break;
    default:
        return std::nullopt;
    }
    if (!r.AtEnd()) return std::nullopt;
    return m;
}

}  // namespace platform::net
