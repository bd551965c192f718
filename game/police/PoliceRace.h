#pragma once
#include <cstdint>

#include "police/RaceText.h"
#include "police/RaceTrack.h"

// One race as the rules see it, without pictures or sounds: the track with both runners, the
// race text and its typing window, who plays which role, and whether the race has started.
class PoliceRace {
public:
    enum class KeyResult {
        Wrong,        // no effect
        Typed,        // InputPos moved on, no speed added (the runner was above its top speed)
        SpedUp,       // InputPos moved on and the runner got faster
        TextFinished  // the whole text was typed already: this key ends the race
    };
    enum class StepResult { None, Caught, Reversed };

    RaceTrack Track;
    RaceText Text;
    int32_t LocalIndex = RaceTrack::kPolice;
    int32_t OpponentIndex = RaceTrack::kThief;
    bool RaceStarted = false;
    // In a network game the opponent's speed comes from the other side, not from its top speed.
    bool OpponentFromNetwork = false;

    // The local player plays the police (0) or the thief (1).
    void ChooseRole(int32_t localIndex);
    // Vehicle of runner `index`: the car or the motorbike.
    void ChooseVehicle(int32_t index, bool car);

    // A new race: window reset, runners placed, nothing started.
    void Start();
    // A typed character (not Esc or Enter) on the race screen.
    KeyResult Type(int32_t keyAscii);
    // One frame: the local runner, the opponent, then the police's lead acted on (a lead of
    // 24 to 160 turns both runners around here; a catch is left to the caller).
    StepResult Step();
    // Starts the text again from its first character (the police of a network game).
    void RestartText();

    Runner& Local() { return Track.Runners[static_cast<size_t>(LocalIndex)]; }
    Runner& Opponent() { return Track.Runners[static_cast<size_t>(OpponentIndex)]; }
    const Runner& Local() const { return Track.Runners[static_cast<size_t>(LocalIndex)]; }
    const Runner& Opponent() const { return Track.Runners[static_cast<size_t>(OpponentIndex)]; }
    bool LocalIsPolice() const { return LocalIndex == RaceTrack::kPolice; }
};
