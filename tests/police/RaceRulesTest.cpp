// The race rules without pictures or sounds.
#include <gtest/gtest.h>

#include "police/PoliceRace.h"
#include "police/PoliceRenderer.h"
#include "police/RaceCamera.h"

namespace {

// The default choices: police by car, thief by motorbike.
PoliceRace MakeRace(int32_t localIndex, const std::u16string& text) {
    PoliceRace race;
    race.ChooseRole(localIndex);
    race.ChooseVehicle(RaceTrack::kPolice, true);
    race.ChooseVehicle(RaceTrack::kThief, false);
    race.Text.SetText(text);
    race.Start();
    return race;
}

void Place(RaceTrack& track, int32_t sign, int32_t policeLeg, float policeTravelled, int32_t thiefLeg,
           float thiefTravelled) {
    track.TravelSign = sign;
    track.Runners[0].Segment = policeLeg;
    track.Runners[0].Travelled = policeTravelled;
    track.Runners[1].Segment = thiefLeg;
    track.Runners[1].Travelled = thiefTravelled;
}

TEST(RaceRules, OpponentWaitsForTheFirstCorrectKeyThenKeepsItsPace) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    const Runner& thief = race.Track.Runners[1];
    EXPECT_EQ(race.Track.PoliceLead(), 0);  // the thief starts a leg ahead
    race.Type('x');
    for (int i = 0; i < 50; ++i) race.Step();
    EXPECT_EQ(thief.MapX, 48.0f);
    EXPECT_EQ(thief.Travelled, 0.0f);

    EXPECT_EQ(race.Type('a'), PoliceRace::KeyResult::SpedUp);
    race.Step();
    race.Step();  // the pace is set again before every step, whatever the slow-down did
    const float pace = 1.3f / 1.5f;
    EXPECT_EQ(thief.Travelled, pace + pace);
    EXPECT_EQ(thief.MapX, 48.0f + 2.0f * pace + 2.0f * pace);
}

TEST(RaceRules, SpeedSlowDownPoseAndTopSpeed) {
    RaceTrack track;
    track.PlaceForRace();
    Runner r = track.Runners[0];
    r.TopSpeed = 2.0f;
    r.VehiclePose = 3;
    r.Speed = 0.4f / 2.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Speed, 0.0f);
    r.Speed = 1.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Speed, 0.975f);
    EXPECT_EQ(r.Pose, 1);  // not above half the top speed
    r.Speed = 2.2f;
    r.Frame = 5;
    r.HoldCount = 1;
    track.StepRunner(r);
    EXPECT_EQ(r.Pose, 3);
    EXPECT_EQ(r.Frame, 0);
    // Counted with the on-foot strip's two ticks (the car's is one), and kept by the pose change.
    EXPECT_EQ(r.HoldCount, 2);
    // A frame left over from a longer strip wraps at the next frame change.
    r.Frame = 16;
    r.HoldCount = 1;
    track.StepRunner(r);
    EXPECT_EQ(r.Frame, 0);

    // A key while above the top speed moves the text on but adds nothing.
    PoliceRace race = MakeRace(RaceTrack::kThief, u"abcde");
    for (char c : std::string("abcd")) EXPECT_EQ(race.Type(c), PoliceRace::KeyResult::SpedUp);
    const float top = race.Local().Speed;  // 1.6: 1.2 was still within 1.3
    EXPECT_EQ(race.Type('e'), PoliceRace::KeyResult::Typed);
    EXPECT_EQ(race.Local().InputPos, 5);
    EXPECT_EQ(race.Local().Speed, top);
}

TEST(RaceRules, LegChangeOnlyPastTheLegsEnd) {
    RaceTrack track;
    track.PlaceForRace();
    Runner r = track.Runners[0];
    r.TopSpeed = 2.0f;
    r.Travelled = 127.0f;
    r.Speed = 1.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Travelled, 128.0f);
    EXPECT_EQ(r.Segment, 0);
    r.Speed = 0.5f;
    track.StepRunner(r);
    EXPECT_EQ(r.Segment, 1);
    EXPECT_EQ(r.Travelled, 0.0f);  // the excess is dropped
    EXPECT_EQ(r.Heading, 2);
    EXPECT_EQ(r.StepX, 2);
    EXPECT_EQ(r.StepY, -1);
    // Backwards from leg 0 to leg 9, heading mirrored.
    track.TravelSign = -1;
    r.Segment = 0;
    r.Travelled = 128.5f;
    r.Speed = 0.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Segment, 9);
    EXPECT_EQ(r.Heading, 3 - 1);
}

TEST(RaceRules, LeadsCatchTurnAroundOrDoNothing) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    using R = PoliceRace::StepResult;
    const struct {
        float policeTravelled;
        int32_t lead;
        R result;
    } cases[] = {{10.0f, 0, R::None},      {11.0f, 1, R::Caught},      {33.0f, 23, R::Caught},
                 {34.0f, 24, R::Reversed}, {170.0f, 160, R::Reversed}, {171.0f, 161, R::None}};
    for (const auto& c : cases) {
        Place(race.Track, 1, 3, c.policeTravelled, 3, 10.0f);
        EXPECT_EQ(race.Track.PoliceLead(), c.lead);
        EXPECT_EQ(race.Step(), c.result) << c.lead;  // nobody moves: nothing typed yet
    }
    RaceTrack& t = race.Track;
    Place(t, 1, 3, 11.5f, 3, 10.5f);  // 331.5 and 330.5 round half to even: 332 - 330
    EXPECT_EQ(t.PoliceLead(), 2);
    Place(t, -1, 3, 11.5f, 3, 8.5f);  // from the leg's end: 503.5 and 500.5 give 504 - 500
    EXPECT_EQ(t.PoliceLead(), 4);
    // Forward across the seam: only the police on leg 0 past a thief on leg 9.
    Place(t, 1, 0, 5.0f, 9, 570.0f);
    EXPECT_EQ(t.PoliceLead(), 1728 + 5 - (1152 + 570));
    Place(t, 1, 9, 570.0f, 0, 5.0f);
    EXPECT_EQ(t.PoliceLead(), 1722 - 5);
    Place(t, 1, 2, 5.0f, 3, 5.0f);
    EXPECT_EQ(t.PoliceLead(), 0);
    // Backward positions count from each leg's end; the seam is the police on 9, thief on 0.
    Place(t, -1, 9, 5.0f, 0, 100.0f);
    EXPECT_EQ(t.PoliceLead(), 1728 + 28 - 1723);
    Place(t, -1, 0, 100.0f, 9, 5.0f);
    EXPECT_EQ(t.PoliceLead(), 1723 - 28);
    Place(t, -1, 4, 20.0f, 4, 10.0f);
    EXPECT_EQ(t.PoliceLead(), 10);
    Place(t, -1, 4, 20.0f, 3, 10.0f);
    EXPECT_EQ(t.PoliceLead(), 0);
}

TEST(RaceRules, TwoReversalsRestoreDirectionAndHeadings) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    RaceTrack& track = race.Track;
    Place(track, 1, 3, 60.0f, 3, 20.0f);
    track.Runners[0].SetHeading(2);
    ASSERT_EQ(race.Step(), PoliceRace::StepResult::Reversed);
    EXPECT_EQ(track.TravelSign, -1);
    EXPECT_EQ(track.Runners[0].Heading, 1);
    EXPECT_EQ(track.Runners[0].StepX, -2);
    EXPECT_EQ(track.Runners[0].StepY, 1);
    EXPECT_EQ(track.Runners[0].Travelled, 132.0f);
    EXPECT_EQ(track.Runners[1].Heading, 1);  // the thief turns as well
    EXPECT_EQ(track.Runners[1].StepX, -2);
    EXPECT_EQ(track.Runners[1].Travelled, 172.0f);
    EXPECT_LE(track.PoliceLead(), 0);  // the thief is ahead again
    track.ReverseDirection();
    EXPECT_EQ(track.TravelSign, 1);
    EXPECT_EQ(track.Runners[0].Heading, 2);
    EXPECT_EQ(track.Runners[1].Heading, 2);
    EXPECT_EQ(track.Runners[0].StepY, -1);
}

TEST(RaceRules, LastCharacterDoesNotEndTheRaceTheNextKeyDoes) {
    PoliceRace race = MakeRace(RaceTrack::kThief, u"ab");
    EXPECT_EQ(race.Type('a'), PoliceRace::KeyResult::SpedUp);
    EXPECT_EQ(race.Type('B'), PoliceRace::KeyResult::Wrong);
    EXPECT_EQ(race.Type('b'), PoliceRace::KeyResult::SpedUp);
    EXPECT_EQ(race.Type('z'), PoliceRace::KeyResult::TextFinished);
    EXPECT_EQ(MakeRace(RaceTrack::kPolice, u"").Type('a'), PoliceRace::KeyResult::TextFinished);
}

TEST(RaceRules, CameraStopsAtTheMapEdgesAndMarkersSpanTheirTrack) {
    RaceCamera camera;
    camera.Follow(700.5f, 501.5f);  // half-way values round to even
    EXPECT_EQ(camera.Left(), 300);
    EXPECT_EQ(camera.Top(), 202);
    EXPECT_EQ(camera.ScreenX(701.5f), 402);
    camera.Follow(48.0f, 120.0f);
    EXPECT_EQ(camera.Left(), 0);
    EXPECT_EQ(camera.Top(), 0);
    EXPECT_EQ(camera.ScreenX(48.0f), 48);  // the figure leaves the screen centre
    camera.Follow(1500.0f, 1100.0f);
    EXPECT_EQ(camera.Left(), 800);
    EXPECT_EQ(camera.Top(), 600);

    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(0, 100), 50);
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(1, 3), 277);
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(100, 100), 730);
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(0, 0), 50);  // an empty text
}

}  // namespace
