#pragma once
#include <cstdint>

#include "police/SettingChoices.h"

class PoliceButtons;
class PoliceRace;
class PoliceScreenControl;
class RaceTextList;
class TextFolder;

// The main menu and the setting screen, shared by a single player's game and a network game:
// their buttons, the role and vehicle cards and the text list. What Start does, and who may
// choose, is the game's (PoliceMode).
class MenuScreens {
public:
    MenuScreens(PoliceScreenControl& screens, const PoliceButtons& buttons, SettingChoices& choices,
                RaceTextList& textList, const TextFolder& textFolder, PoliceRace& race);

    // The mouse on the main menu or the setting screen; nothing on the other screens.
    void MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseUp(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);

private:
    void WireButtons();
    // A card chosen by a click; the game hears of it.
    void Choose(SettingChoices::Pair pair, bool first);
    void Start();
    // The entry of the text list under (X, Y), or the chosen one left of the list.
    int32_t HitTextList(int32_t X, int32_t Y);

    PoliceScreenControl& screens_;
    const PoliceButtons& buttons_;
    SettingChoices& choices_;
    RaceTextList& textList_;
    const TextFolder& textFolder_;
    PoliceRace& race_;
};
