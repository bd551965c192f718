#include "police/SettingChoices.h"

#include "police/PoliceButtons.h"
#include "police/PoliceRace.h"
#include "widgets/AniButton.h"

SettingChoices::SettingChoices(const PoliceButtons& buttons, PoliceRace& race) : buttons_(buttons), race_(race) {}

void SettingChoices::Choose(Pair pair, bool first) {
    const PoliceButtons& b = buttons_;
    AniButton* cards[2] = {b.BtnPolice.get(), b.BtnThief.get()};
    if (pair == Pair::PoliceVehicle) {
        cards[0] = b.BtnCar0.get();
        cards[1] = b.BtnBike0.get();
    } else if (pair == Pair::ThiefVehicle) {
        cards[0] = b.BtnCar1.get();
        cards[1] = b.BtnBike1.get();
    }
    AniButton& chosen = *cards[first ? 0 : 1];
    AniButton& other = *cards[first ? 1 : 0];
    chosen.SetEnabled(false);
    other.SetEnabled(true);
    other.SetFrame(0);
    if (pair == Pair::Role)
        race_.ChooseRole(first ? RaceTrack::kPolice : RaceTrack::kThief);
    else
        race_.ChooseVehicle(pair == Pair::PoliceVehicle ? RaceTrack::kPolice : RaceTrack::kThief, first);
}
