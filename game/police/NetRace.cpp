#include "police/NetRace.h"

#include <algorithm>
#include <cmath>

#include "police/NetEngine.h"
#include "police/PoliceRace.h"

NetRace::NetRace(NetEngine& net, PoliceRace& race) : net_(net), race_(race) {}

NetRace::Setting NetRace::CurrentSetting(uint8_t textListId) const {
    const auto& runners = race_.Track.Runners;
    Setting s;
    s.TextListID = textListId;
    s.ServerPlayerID = static_cast<uint8_t>(race_.LocalIndex);
    s.PoliceCarOrBike = runners[RaceTrack::kPolice].TopSpeed == kCarTopSpeed ? 1 : 0;
    s.ThiefCarOrBike = runners[RaceTrack::kThief].TopSpeed == kCarTopSpeed ? 1 : 0;
    return s;
}

void NetRace::SendSetting(uint8_t textListId) {
    const Setting s = CurrentSetting(textListId);
    net_.SendSetting(s.TextListID, s.ServerPlayerID, s.PoliceCarOrBike, s.ThiefCarOrBike);
}

void NetRace::SendProgress() {
    const Runner& me = race_.Local();
    net_.SendProgress(me.InputPos, me.Speed);
}

void NetRace::ApplyProgress(int32_t InputPos, float Speed) {
    Runner& other = race_.Opponent();
    race_.RaceStarted = true;
    other.InputPos = std::clamp(InputPos, 0, race_.Text.TextLength());
    if (std::isfinite(Speed)) other.Speed = std::clamp(Speed, 0.0f, kMaxSpeed);
}

void NetRace::TakeText(const std::u16string& aStr) { race_.Text.SetText(RaceText::Typable(aStr)); }
