#pragma once
#include <string>

#include "police/PoliceScreen.h"

class PoliceMode;

// What the parts of the police game ask of the screen they belong to: which screen shows, a
// change of screen, a status message, and which game is on.
class PoliceScreenControl {
public:
    virtual PoliceScreen Screen() const = 0;
    virtual bool IsNetworkGame() const = 0;
    virtual void SwitchScreen(PoliceScreen n) = 0;
    // A centred message over any screen for 200 frames.
    virtual void ShowStatus(const std::u16string& text) = 0;
    // Takes the message away before its time.
    virtual void ClearStatus() = 0;
    // The rules of the game that is on: a single player's or the network game's.
    virtual PoliceMode& Mode() = 0;

protected:
    ~PoliceScreenControl() = default;
};
