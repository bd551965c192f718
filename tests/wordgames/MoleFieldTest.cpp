#include <gtest/gtest.h>

#include "platform/Random.h"
#include "wordgames/LetterPool.h"
#include "wordgames/MoleField.h"

namespace {

class MoleFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Random::Seed(5);
        ResetLetterPool();
    }
    MoleField field;
};

TEST_F(MoleFieldTest, WithNoIntervalAllMolesStartComingUpInTheFirstFrame) {
    field.Start(1, 0, 3);
    field.Tick(20);
    for (const MoleField::Hole& hole : field.Holes()) EXPECT_EQ(hole.State, MoleField::kAppearing);

    MoleField spaced;
    spaced.Start(1, 2, 3);
    for (int frame = 0; frame <= 100; ++frame) spaced.Tick(20);
    EXPECT_EQ(spaced.Holes()[1].State, MoleField::kAppearing);
    EXPECT_EQ(spaced.Holes()[2].State, MoleField::kWaiting);
}

TEST_F(MoleFieldTest, AMoleStaysUpStayUnitsTimes51FramesAndEachSoundPlaysTwice) {
    const int32_t stay = 3;
    field.Start(30, 10, stay);  // the other moles wait 500 frames and more
    int upFrames = 0, out = 0, away = 0;
    const MoleField::Hole first = field.Holes()[0];
    while (field.Radishes() == MoleField::kRadishes) {
        ASSERT_LT(upFrames + out + away, 1000) << "the mole never ran off";
        const MoleField::Sounds sounds = field.Tick(20);
        out += sounds.out;
        away += sounds.away;
        if (field.Holes()[0].State == MoleField::kUp) ++upFrames;
    }
    EXPECT_EQ(upFrames, stay * 51);
    EXPECT_EQ(out, 2);
    EXPECT_EQ(away, 2);
    // Back into hiding somewhere else, at a place no other mole holds.
    const MoleField::Hole& again = field.Holes()[0];
    EXPECT_EQ(again.State, MoleField::kWaiting);
    EXPECT_FALSE(again.X == first.X && again.Y == first.Y);
    for (int i = 1; i < MoleField::kHoles; ++i) {
        EXPECT_FALSE(field.Holes()[i].X == again.X && field.Holes()[i].Y == again.Y);
    }
}

TEST_F(MoleFieldTest, KeysHitOnlyMolesThatAreUpAndEveryKeyCountsInTheHitRate) {
    field.Start(1, 0, 5);
    EXPECT_EQ(field.HitRatePercent(), -1);
    field.Tick(20);
    const int32_t appearing = field.Holes()[0].Letter[0];
    EXPECT_FALSE(field.Key(appearing));
    while (field.Holes()[0].State != MoleField::kUp) field.Tick(20);
    EXPECT_TRUE(field.Key(appearing));
    EXPECT_EQ(field.Holes()[0].State, MoleField::kHit);
    EXPECT_FALSE(field.Key(appearing));
    EXPECT_EQ(field.Caught(), 1);
    EXPECT_EQ(field.Keystrokes(), 3);
    EXPECT_EQ(field.HitRatePercent(), 33);
    for (int frame = 0; frame < 21; ++frame) field.Tick(20);
    EXPECT_EQ(field.Holes()[0].State, MoleField::kWaiting);
    EXPECT_EQ(field.Radishes(), MoleField::kRadishes);
}

TEST_F(MoleFieldTest, LosingTheLastRadishAsTimeRunsOutIsALoss) {
    field.Start(1, 0, 1);
    MoleField before = field;
    while (field.Radishes() >= 1) {
        before = field;
        field.Tick(0);
        ASSERT_EQ(field.Result(), field.Radishes() < 1 ? MoleField::Outcome::kLost : MoleField::Outcome::kRunning);
    }
    before.Tick(before.TimeLeftMs());
    EXPECT_LT(before.Radishes(), 1);
    EXPECT_EQ(before.Result(), MoleField::Outcome::kLost);

    MoleField timed;
    timed.Start(1, 10, 20);
    timed.Tick(59999);
    EXPECT_EQ(timed.Result(), MoleField::Outcome::kRunning);
    timed.Tick(1);
    EXPECT_EQ(timed.Result(), MoleField::Outcome::kPassed);
}

TEST(MoleLevelTest, PassingShortensTheIntervalThenTheStayButNeverBelowItsFloor) {
    SettingsRecord settings = DefaultSettings();
    auto harder = [&](int32_t interval, int32_t stay) {
        settings.Field[kMoleInterval] = interval;
        settings.Field[kMoleStay] = stay;
        MoleField::MakeHarder(settings);
        return std::make_pair(settings.Field[kMoleInterval], settings.Field[kMoleStay]);
    };
    EXPECT_EQ(harder(3, 5), std::make_pair(2, 5));
    EXPECT_EQ(harder(1, 5), std::make_pair(0, 5));
    EXPECT_EQ(harder(0, 5), std::make_pair(0, 4));
    EXPECT_EQ(harder(0, 1), std::make_pair(0, 1));
}

}  // namespace
