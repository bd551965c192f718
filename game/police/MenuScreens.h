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
    // The setting screen's list of texts: the wheel over it scrolls it, and Up, Down, Page Up,
    // Page Down, Home and End choose (only the side that may choose).
    void MouseWheel(int32_t notches, int32_t X);
    void KeyDown(int32_t KeyCode);

private:
    void WireButtons();
    // A card chosen by a click; the game hears of it.
    void Choose(SettingChoices::Pair pair, bool first);
    void Start();
    // The entry of the text list under (X, Y), or the chosen one left of the list.
    int32_t HitTextList(int32_t X, int32_t Y);
    // Whether a press is the second of a double-click whose first opened the setting screen: on
    // the spot of that click and within a double-click's time. It chooses nothing there.
    bool SecondPressOfOpeningClick(int32_t X, int32_t Y) const;

    // The click that opened the setting screen from the main menu: when and where.
    struct OpeningClick {
        uint32_t atMs = 0;
        int32_t x = -100;
        int32_t y = -100;
    };
    OpeningClick opening_;

    PoliceScreenControl& screens_;
    const PoliceButtons& buttons_;
    SettingChoices& choices_;
    RaceTextList& textList_;
    const TextFolder& textFolder_;
    PoliceRace& race_;
};
