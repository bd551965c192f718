#include "police/PoliceRace.h"

void PoliceRace::ChooseRole(int32_t localIndex) {
    LocalIndex = localIndex == RaceTrack::kThief ? RaceTrack::kThief : RaceTrack::kPolice;
    OpponentIndex = 1 - LocalIndex;
}

void PoliceRace::ChooseVehicle(int32_t index, bool car) {
    Runner& r = Track.Runners[index == RaceTrack::kThief ? 1 : 0];
    r.TopSpeed = car ? kCarTopSpeed : kBikeTopSpeed;
    r.VehiclePose = car ? kCarPose : kBikePose;
}

void PoliceRace::Start() {
    Text.ResetWindow();
    Track.PlaceForRace();
    RaceStarted = false;
}

PoliceRace::KeyResult PoliceRace::Type(int32_t keyAscii) {
    Runner& me = Local();
    if (me.InputPos >= Text.TextLength()) return KeyResult::TextFinished;
    if (!Text.Matches(me.InputPos, keyAscii)) return KeyResult::Wrong;
    ++me.InputPos;
    Text.MoveWindow(me.InputPos);
    if (me.Speed <= me.TopSpeed) {
        me.Speed += 0.4f;
        RaceStarted = true;
        return KeyResult::SpedUp;
    }
    return KeyResult::Typed;
}

PoliceRace::StepResult PoliceRace::Step() {
    Track.StepRunner(Local());

    Runner& other = Opponent();
    if (!RaceStarted) {
        other.Speed = 0.0f;
    } else if (!OpponentFromNetwork) {
        other.Speed = other.TopSpeed / 1.5f;
    }
    Track.StepRunner(other);

    const int32_t lead = Track.PoliceLead();
    if (lead >= 1 && lead <= RaceTrack::kCatchLead) return StepResult::Caught;
    if (lead > RaceTrack::kCatchLead && lead <= RaceTrack::kReverseLead) {
        Track.ReverseDirection();
        return StepResult::Reversed;
    }
    return StepResult::None;
}

void PoliceRace::RestartText() {
    Local().InputPos = 0;
    Text.ResetWindow();
}
