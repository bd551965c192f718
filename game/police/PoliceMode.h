#pragma once
#include "police/PoliceRace.h"

// What differs between a single player's game and a network game, from the setting screen to
// the keys of the result screens.
class PoliceMode {
public:
    // Start is refused without a text: a race without one would be lost the moment it starts.
    static constexpr const char16_t* kNoRaceText = u"请选择一篇比赛文章";

    // Whether this side chooses the role, the vehicles and the text; a side that does not may
    // only leave the setting screen.
    virtual bool MayChoose() const = 0;
    // A role or vehicle card was chosen on the setting screen.
    virtual void ChoiceMade() = 0;
    // The pointer was tested against the setting screen's text list.
    virtual void TextListTouched() = 0;
    // What the game draws between the setting screen's hints and its buttons.
    virtual void DrawSettingExtras() = 0;
    // The setting screen's Start, the chosen text already read into the race.
    virtual void Start() = 0;
    // A key the race took on the race screen, with its result.
    virtual void RaceKey(PoliceRace::KeyResult result) = 0;
    // The police caught the thief on this side's track.
    virtual void Caught() = 0;
    // Esc on any screen but the main menu.
    virtual void Escape() = 0;
    // Enter on a result screen.
    virtual void Again() = 0;

protected:
    ~PoliceMode() = default;
};
