// The race rules without pictures or sounds: runner step, slow-down, typing, leads, reversal,
// camera and the end of a race.
#include <gtest/gtest.h>

#include <cstring>

#include "police/PoliceRace.h"
#include "police/PoliceRenderer.h"
#include "police/RaceCamera.h"
#include "police/RaceTrack.h"

namespace {

// A race as the game sets it up by default: police by car, thief by motorbike.
PoliceRace MakeRace(int32_t localIndex, const std::u16string& text) {
    PoliceRace race;
    race.ChooseRole(localIndex);
    race.ChooseVehicle(RaceTrack::kPolice, true);
    race.ChooseVehicle(RaceTrack::kThief, false);
    race.Text.SetText(text);
    race.Start();
    return race;
}

uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TEST(RaceRules, StartPlacesRunnersOneLegApartAndStanding) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    const Runner& police = race.Track.Runners[0];
    const Runner& thief = race.Track.Runners[1];
    EXPECT_EQ(police.MapX, 324.0f);
    EXPECT_EQ(police.MapY, 880.0f);
    EXPECT_EQ(police.Segment, 0);
    EXPECT_EQ(police.Heading, 0);
    EXPECT_EQ(police.StepX, -2);
    EXPECT_EQ(police.StepY, -1);
    EXPECT_EQ(thief.MapX, 48.0f);
    EXPECT_EQ(thief.MapY, 744.0f);
    EXPECT_EQ(thief.Segment, 1);
    EXPECT_EQ(thief.Heading, 2);
    EXPECT_EQ(thief.StepX, 2);
    EXPECT_EQ(thief.StepY, -1);
    EXPECT_EQ(race.Track.TravelSign, 1);
    EXPECT_FALSE(race.RaceStarted);
    EXPECT_EQ(Bits(thief.TopSpeed), 0x3FA66666u);
    EXPECT_EQ(police.TopSpeed, 2.0f);
    // The thief's leg lies beyond the police's: no lead is worked out.
    EXPECT_EQ(race.Track.PoliceLead(), 0);
}

TEST(RaceRules, OpponentWaitsForTheFirstCorrectKeyThenKeepsItsPace) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    for (int i = 0; i < 50; ++i) race.Step();
    const Runner& thief = race.Track.Runners[1];
    EXPECT_EQ(thief.MapX, 48.0f);
    EXPECT_EQ(thief.MapY, 744.0f);
    EXPECT_EQ(thief.Travelled, 0.0f);

    EXPECT_EQ(race.Type('x'), PoliceRace::KeyResult::Wrong);
    race.Step();
    EXPECT_EQ(thief.Travelled, 0.0f);

    EXPECT_EQ(race.Type('a'), PoliceRace::KeyResult::SpedUp);
    EXPECT_TRUE(race.RaceStarted);
    race.Step();
    const float pace = 1.3f / 1.5f;
    EXPECT_EQ(thief.Travelled, pace);
    EXPECT_EQ(thief.MapX, 48.0f + 2.0f * pace);
    // Every frame the computer sets the pace again before the step, slow-down or not.
    race.Step();
    EXPECT_EQ(thief.Travelled, pace + pace);
}

TEST(RaceRules, SlowDownStopsAtPointTwoAndTakesOffAFortieth) {
    RaceTrack track;
    track.PlaceForRace();
    Runner r = track.Runners[0];
    r.TopSpeed = 2.0f;
    r.VehiclePose = 3;

    r.Speed = 0.4f / 2.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Speed, 0.0f);
    EXPECT_EQ(r.Pose, 0);

    r.Speed = 1.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Speed, 0.975f);
    EXPECT_EQ(r.Pose, 1);  // 0.975 is not above half the top speed

    r.Speed = 2.2f;
    r.Frame = 5;
    track.StepRunner(r);
    EXPECT_EQ(r.Pose, 3);
    EXPECT_EQ(r.Frame, 0);  // a new pose starts its strip from the first frame
}

TEST(RaceRules, KeysAboveTopSpeedMoveTheTextButAddNoSpeed) {
    PoliceRace race = MakeRace(RaceTrack::kThief, u"abcdefgh");
    Runner& me = race.Local();
    EXPECT_EQ(race.Type('a'), PoliceRace::KeyResult::SpedUp);
    EXPECT_EQ(race.Type('b'), PoliceRace::KeyResult::SpedUp);
    EXPECT_EQ(race.Type('c'), PoliceRace::KeyResult::SpedUp);
    EXPECT_EQ(race.Type('d'), PoliceRace::KeyResult::SpedUp);  // 1.2 <= 1.3 before the increase
    const float top = me.Speed;
    EXPECT_GT(top, me.TopSpeed);
    EXPECT_EQ(race.Type('e'), PoliceRace::KeyResult::Typed);
    EXPECT_EQ(me.InputPos, 5);
    EXPECT_EQ(me.Speed, top);
}

TEST(RaceRules, TravelledEqualToTheLegStaysOnTheLeg) {
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

    // Backwards the legs count down and wrap from 0 to 9, headings mirrored.
    track.TravelSign = -1;
    r.Segment = 0;
    r.Travelled = 128.5f;
    r.Speed = 0.0f;
    track.StepRunner(r);
    EXPECT_EQ(r.Segment, 9);
    EXPECT_EQ(r.Heading, 3 - 1);
}

// Places the police and the thief at a leg and a distance each.
void Place(RaceTrack& track, int32_t policeLeg, float policeTravelled, int32_t thiefLeg, float thiefTravelled) {
    track.Runners[0].Segment = policeLeg;
    track.Runners[0].Travelled = policeTravelled;
    track.Runners[1].Segment = thiefLeg;
    track.Runners[1].Travelled = thiefTravelled;
}

TEST(RaceRules, LeadsCatchTurnOrDoNothing) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    RaceTrack& track = race.Track;
    struct Case {
        float policeTravelled;
        int32_t lead;
        PoliceRace::StepResult result;
    };
    const Case cases[] = {
        {10.0f, 0, PoliceRace::StepResult::None},      {33.0f, 23, PoliceRace::StepResult::Caught},
        {34.0f, 24, PoliceRace::StepResult::Reversed}, {170.0f, 160, PoliceRace::StepResult::Reversed},
        {171.0f, 161, PoliceRace::StepResult::None},   {11.0f, 1, PoliceRace::StepResult::Caught},
    };
    for (const Case& c : cases) {
        Place(track, 3, c.policeTravelled, 3, 10.0f);
        track.TravelSign = 1;
        EXPECT_EQ(track.PoliceLead(), c.lead) << c.policeTravelled;
        // Nobody moves in the step: the race has not started and the local runner stands.
        track.Runners[0].Speed = 0.0f;
        EXPECT_EQ(race.Step(), c.result) << c.policeTravelled;
    }
    // Rounding of each position: half to even.
    Place(track, 3, 10.5f, 3, 9.5f);
    track.TravelSign = 1;
    EXPECT_EQ(track.PoliceLead(), 0);  // 10 - 10
    Place(track, 3, 11.5f, 3, 9.5f);
    EXPECT_EQ(track.PoliceLead(), 2);  // 12 - 10
}

TEST(RaceRules, LeadAcrossTheSeamInBothDirections) {
    RaceTrack track;
    track.PlaceForRace();
    // Forward: the thief near the end of leg 9, the police just past the start of leg 0.
    Place(track, 0, 5.0f, 9, 570.0f);
    track.TravelSign = 1;
    EXPECT_EQ(track.PoliceLead(), 1728 + 5 - (1152 + 570));  // 11
    // The other way round the thief is far ahead: a lead too large to act on.
    Place(track, 9, 570.0f, 0, 5.0f);
    EXPECT_EQ(track.PoliceLead(), 1722 - 5);
    // The police a leg behind: not worked out either.
    Place(track, 2, 5.0f, 3, 5.0f);
    EXPECT_EQ(track.PoliceLead(), 0);

    // Backward: positions count from each leg's end; the police on leg 9, the thief on leg 0.
    track.TravelSign = -1;
    Place(track, 9, 5.0f, 0, 100.0f);
    // pos(P) = 1152 + 576 - 5 = 1723; pos(T) = 0 + 128 - 100 = 28.
    EXPECT_EQ(track.PoliceLead(), 1728 + 28 - 1723);  // 33
    Place(track, 0, 100.0f, 9, 5.0f);
    EXPECT_EQ(track.PoliceLead(), 1723 - 28);  // thief's leg above the police's
    Place(track, 4, 20.0f, 4, 10.0f);
    EXPECT_EQ(track.PoliceLead(), 10);  // 512 + 96 - 10 - (512 + 96 - 20)
    Place(track, 4, 20.0f, 3, 10.0f);
    EXPECT_EQ(track.PoliceLead(), 0);
}

TEST(RaceRules, TwoReversalsRestoreDirectionAndHeadings) {
    PoliceRace race = MakeRace(RaceTrack::kPolice, u"abc");
    RaceTrack& track = race.Track;
    Place(track, 3, 60.0f, 3, 20.0f);
    track.Runners[0].SetHeading(2);
    track.Runners[1].SetHeading(2);
    ASSERT_EQ(race.Step(), PoliceRace::StepResult::Reversed);
    EXPECT_EQ(track.TravelSign, -1);
    EXPECT_EQ(track.Runners[0].Heading, 1);
    EXPECT_EQ(track.Runners[0].StepX, -2);
    EXPECT_EQ(track.Runners[0].StepY, 1);
    EXPECT_EQ(track.Runners[0].Travelled, 192.0f - 60.0f);
    EXPECT_EQ(track.Runners[1].Travelled, 192.0f - 20.0f);
    // After the turn the thief is ahead again.
    EXPECT_LE(track.PoliceLead(), 0);

    track.ReverseDirection();
    EXPECT_EQ(track.TravelSign, 1);
    EXPECT_EQ(track.Runners[0].Heading, 2);
    EXPECT_EQ(track.Runners[1].Heading, 2);
    EXPECT_EQ(track.Runners[0].StepX, 2);
    EXPECT_EQ(track.Runners[0].StepY, -1);
    EXPECT_EQ(track.Runners[0].Travelled, 60.0f);
}

TEST(RaceRules, LastCharacterDoesNotEndTheRaceTheNextKeyDoes) {
    for (int32_t local : {RaceTrack::kPolice, RaceTrack::kThief}) {
        PoliceRace race = MakeRace(local, u"ab");
        EXPECT_EQ(race.Type('a'), PoliceRace::KeyResult::SpedUp);
        EXPECT_EQ(race.Type('b'), PoliceRace::KeyResult::SpedUp);
        EXPECT_EQ(race.Local().InputPos, 2);
        EXPECT_EQ(race.Type('z'), PoliceRace::KeyResult::TextFinished);
    }
    // An empty text is finished before anything is typed.
    PoliceRace empty = MakeRace(RaceTrack::kThief, u"");
    EXPECT_EQ(empty.Type('a'), PoliceRace::KeyResult::TextFinished);
}

TEST(RaceRules, AnimationHoldsEachFrameAndWraps) {
    RaceTrack track;
    track.PlaceForRace();
    Runner r = track.Runners[1];  // thief standing: 11 frames, 2 ticks
    r.TopSpeed = 1.3f;
    r.Frame = 10;
    r.HoldCount = 0;
    track.StepRunner(r);
    track.StepRunner(r);
    EXPECT_EQ(r.Frame, 10);
    EXPECT_EQ(r.HoldCount, 2);
    track.StepRunner(r);
    EXPECT_EQ(r.Frame, 0);
    EXPECT_EQ(r.HoldCount, 0);
    // A frame left over from a longer strip wraps at the next frame change.
    r.Frame = 16;
    r.HoldCount = 2;
    track.StepRunner(r);
    EXPECT_EQ(r.Frame, 0);
    EXPECT_EQ(SpriteTable().FrameRect(r), (platform::Rect{0, 0, 95, 101}));
    r.Frame = 7;
    EXPECT_EQ(SpriteTable().FrameRect(r), (platform::Rect{95, 202, 190, 303}));
    EXPECT_EQ(SpriteTable::StripIndex(1, 3, 2), 1 + 6 + 16);
}

TEST(RaceRules, CameraFollowsTheRunnerAndStopsAtTheMapEdges) {
    RaceCamera camera;
    camera.Follow(700.0f, 500.0f);
    EXPECT_EQ(camera.Left(), 300);
    EXPECT_EQ(camera.Top(), 200);
    EXPECT_EQ(camera.ScreenX(700.0f), 400);
    EXPECT_EQ(camera.ScreenY(500.0f), 300);

    camera.Follow(48.0f, 120.0f);
    EXPECT_EQ(camera.Left(), 0);
    EXPECT_EQ(camera.Top(), 0);
    EXPECT_EQ(camera.ScreenX(48.0f), 48);  // off the screen centre

    camera.Follow(1500.0f, 1100.0f);
    EXPECT_EQ(camera.Left(), 800);
    EXPECT_EQ(camera.Top(), 600);
    EXPECT_EQ(camera.ScreenX(1500.0f), 700);

    // Half-way positions round to even.
    camera.Follow(700.5f, 501.5f);
    EXPECT_EQ(camera.Left(), 300);
    EXPECT_EQ(camera.Top(), 202);
    EXPECT_EQ(camera.ScreenX(700.5f), 400);
    EXPECT_EQ(camera.ScreenX(701.5f), 402);
}

TEST(RaceRules, ProgressMarkerRunsFromFiftyTo730AndStaysAtTheStartForAnEmptyText) {
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(0, 100), 50);
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(100, 100), 730);
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(1, 3), 277);  // 226.67 + 50
    EXPECT_EQ(PoliceRenderer::ProgressMarkerX(0, 0), 50);
}

}  // namespace
