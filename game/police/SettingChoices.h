#pragma once

class AniButton;
class PoliceButtons;
class PoliceRace;

// The setting screen's three pairs of cards: the local player's role, the police's vehicle and
// the thief's. A chosen card is a disabled button: its disabled frame is the "chosen" look with
// the check mark, so the hover and pressed frames of the other card never show one.
class SettingChoices {
public:
    enum class Pair { Role, PoliceVehicle, ThiefVehicle };

    SettingChoices(const PoliceButtons& buttons, PoliceRace& race);

    // Chooses the first card of `pair` (the police, or the car) or the second one (the thief,
    // or the motorbike), in the race and on the buttons.
    void Choose(Pair pair, bool first);

private:
    const PoliceButtons& buttons_;
    PoliceRace& race_;
};
