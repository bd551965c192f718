#pragma once
#include <cstdint>
#include <string>

class NetEngine;
class PoliceRace;

// The network side of a race: what this side tells the other (its settings, its progress) and
// how what the other side sends is taken in. Values from the peer are untrusted: a position is
// held within the text, a speed within 0..kMaxSpeed, and a text is made typable here.
class NetRace {
public:
    // Far above any speed typing can reach (top speed + 0.4).
    static constexpr float kMaxSpeed = 10.0f;

    // The four values of a settings message.
    struct Setting {
        uint8_t TextListID = 0;
        uint8_t ServerPlayerID = 0;   // the sender's role: 0 police, 1 thief
        uint8_t PoliceCarOrBike = 0;  // 1 car, 0 motorbike
        uint8_t ThiefCarOrBike = 0;
    };

    NetRace(NetEngine& net, PoliceRace& race);

    // This side's choices as a settings message.
    Setting CurrentSetting(uint8_t textListId) const;
    void SendSetting(uint8_t textListId);
    // A key that raised the local speed: the new position and speed go to the other side.
    void SendProgress();

    // The opponent takes the received position and speed, and the race counts as started.
    void ApplyProgress(int32_t InputPos, float Speed);
    // The race text received from the host (or about to be sent to the joined side).
    void TakeText(const std::u16string& aStr);

private:
    NetEngine& net_;
    PoliceRace& race_;
};
