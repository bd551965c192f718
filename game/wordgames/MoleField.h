#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "shell/Settings.h"

// The rules of the mole game: four moles that come up at ten places, the player's six radishes,
// the hits, the keys pressed and the time left. The screen draws it and plays the sounds each
// frame reports.
class MoleField {
public:
    static constexpr int kHoles = 4;
    static constexpr int32_t kRadishes = 6;

    enum State : int32_t { kUp = 0, kAppearing = 1, kHit = 2, kRunningOff = 3, kWaiting = 4 };
    enum class Outcome { kRunning, kLost, kPassed };

    struct Hole {
        int32_t X = 0, Y = 0;
        std::u16string Letter;
        int32_t State = kWaiting;
        int32_t Timer = 0;     // frames left in the current step
        uint8_t Frame = 0;     // frame of the appearing or hiding strip
        uint8_t StayLeft = 0;  // units of 51 frames the mole still stays up
    };

    // How often each effect is due in one frame.
    struct Sounds {
        int32_t out = 0;   // a mole finished an appearing step
        int32_t away = 0;  // a mole started a running-off step
    };

    // A round of `minutes`, moles waiting `interval` × 50 frames and staying `stay` units.
    void Start(int32_t minutes, int32_t interval, int32_t stay);
    // The round was ended by the player.
    void End();
    Sounds Tick(int32_t elapsedMs);
    // Counts the key and hits the first mole that is up with this letter; true on a hit.
    bool Key(int32_t keyCode);
    // Loss is tested before pass, so running out of radishes in the last frame still loses.
    Outcome Result() const;

    // Hit rate in percent, rounded; -1 before any key of the round.
    int32_t HitRatePercent() const;

    // A passed round makes the game harder: a shorter wait between moles, and once there is no
    // wait left, a shorter stay (never below one unit).
    static void MakeHarder(SettingsRecord& settings);

    const std::array<Hole, kHoles>& Holes() const { return holes_; }
    int32_t Radishes() const { return radishes_; }
    int32_t Caught() const { return caught_; }
    int32_t Keystrokes() const { return keystrokes_; }
    int32_t TimeLeftMs() const { return timeLeftMs_; }

private:
    // Sends the mole back into hiding at a place no mole holds, with a fresh letter.
    void PlaceMole(int index);

    std::array<Hole, kHoles> holes_{};
    int32_t radishes_ = kRadishes;
    int32_t caught_ = 0;
    int32_t keystrokes_ = 0;
    int32_t timeLeftMs_ = 0;
    int32_t appearDelay_ = 0;
    int32_t stayUnits_ = 1;
};
