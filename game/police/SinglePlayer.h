#pragma once
#include "police/PoliceMode.h"

class PoliceScreenControl;

// A single player's race against the computer: the race ends on this side, by the key after
// the whole text or by a catch; Esc goes back to the setting screen, Enter races again.
class SinglePlayer final : public PoliceMode {
public:
    SinglePlayer(PoliceScreenControl& screens, const PoliceRace& race);

    bool MayChoose() const override { return true; }
    void ChoiceMade() override {}
    void TextListTouched() override {}
    void DrawSettingExtras() override {}
    void Start() override;
    void RaceKey(PoliceRace::KeyResult result) override;
    void Caught() override;
    void Escape() override;
    void Again() override;

private:
    void EndRace(bool won);

    PoliceScreenControl& screens_;
    const PoliceRace& race_;
};
