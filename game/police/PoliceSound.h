#pragma once
#include <cstdint>

// The police game's sounds on the shared sound engine: the race music and seven effect slots.
// Made, they are loaded; gone, every one of them is stopped. Without a sound engine nothing
// plays.
class PoliceSound {
public:
    enum Effect : int16_t {
        kPoliceEntry = 0,
        kThiefEntry = 1,
        kThiefBrake = 2,
        kThiefTurn = 3,
        kPoliceCatch = 4,
        kThiefAway = 5,
        kType = 6,
    };

    PoliceSound();
    ~PoliceSound();
    PoliceSound(const PoliceSound&) = delete;
    PoliceSound& operator=(const PoliceSound&) = delete;

    void Play(Effect effect) const;
    // The race music from its start.
    void StartMusic() const;
    void StopMusic() const;
};
