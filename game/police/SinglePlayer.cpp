#include "police/SinglePlayer.h"

#include "police/PoliceScreenControl.h"

SinglePlayer::SinglePlayer(PoliceScreenControl& screens, const PoliceRace& race) : screens_(screens), race_(race) {}

void SinglePlayer::Start() {
    if (race_.Text.TextLength() == 0) {
        screens_.ShowStatus(kNoRaceText);
        return;
    }
    screens_.SwitchScreen(kScreenRace);
}

void SinglePlayer::RaceKey(PoliceRace::KeyResult result) {
    // The whole text typed: the thief got away.
    if (result == PoliceRace::KeyResult::TextFinished) EndRace(!race_.LocalIsPolice());
}

void SinglePlayer::Caught() { EndRace(race_.LocalIsPolice()); }

void SinglePlayer::Escape() { screens_.SwitchScreen(kScreenSetting); }

void SinglePlayer::Again() { screens_.SwitchScreen(kScreenRace); }

void SinglePlayer::EndRace(bool won) { screens_.SwitchScreen(won ? kScreenWon : kScreenLost); }
