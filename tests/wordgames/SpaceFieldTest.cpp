// The space shooter's rules without a window: shots, the penalty and a missile's whole flight, the
// enemies in play and the level-up, the bonus word's window and reward, the status texts, and
// the bonus words drawn from a dictionary with and without words.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/ProgramFolder.h"
#include "platform/Random.h"
#include "shell/Settings.h"
#include "tests/support/TempDir.h"
#include "wordgames/LetterPool.h"
#include "wordgames/SpaceField.h"
#include "wordgames/SpaceStatusText.h"

namespace {

constexpr int32_t kFrameMs = 20;

class SpaceFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Course files are looked for in a folder of this test's, where there are none.
        platform::SetProgramFolder(temp_.Path());
        ResetLetterPool();
        settings_ = DefaultSettings();
        settings_.Field[kSpaceCount] = 1;
        settings_.Field[kSpaceSpeed] = 3;
        settings_.Field[kSpaceBonus] = 0;
    }
    // A letter no enemy in play carries.
    static int32_t FreeLetter(const SpaceField& field) {
        for (int32_t c = 'A'; c <= 'Z'; ++c) {
            bool used = false;
            for (int32_t i = 0; i < field.EnemyCount(); ++i) used = used || field.Enemies()[i].Letter[0] == c;
            if (!used) return c;
        }
        return '0';
    }

    testsupport::TempDir temp_{"glyphor-space"};
    SettingsRecord settings_;
};

TEST_F(SpaceFieldTest, AShotAtNothingCosts400AtAnyScoreAndAMissileInFlightBlocksItsEnemyUntilItHits) {
    SpaceField field;
    field.NewGame(settings_);
    ASSERT_EQ(field.Score(), 0);
    const int32_t nothing = FreeLetter(field);
    EXPECT_EQ(field.Key(nothing), 0u);
    EXPECT_EQ(field.Score(), -400);
    field.Key(nothing);
    EXPECT_EQ(field.Score(), -800);
    field.SetScore(0);

    // Enemy 0 well above the ship; its letter fires a missile from the ship's nose.
    Enemy& enemy = field.EditEnemy(0);
    enemy.X = 300;
    enemy.Y = 100;
    const int32_t letter = enemy.Letter[0];
    EXPECT_EQ(field.Key(letter), SpaceField::kShoot);
    const Missile& missile = field.Missiles()[0];
    EXPECT_TRUE(missile.Active);
    EXPECT_FLOAT_EQ(missile.X, field.ShipX() + 35);
    EXPECT_FLOAT_EQ(missile.Y, 500);
    EXPECT_EQ(field.Key(letter), 0u);
    EXPECT_EQ(field.Score(), -400);

    uint32_t effects = 0;
    int frames = 0;
    for (; frames < 200 && missile.Active; ++frames) effects |= field.Tick(kFrameMs);
    ASSERT_FALSE(missile.Active) << "the missile homes in on its enemy";
    EXPECT_NE(effects & SpaceField::kBlast, 0u);
    EXPECT_EQ(field.Score(), -400 + 1500);
    EXPECT_FALSE(enemy.Alive);
    EXPECT_TRUE(field.Blasts()[0].Active);

    // The blast runs its nine frames of three ticks (the first tick came with the hit), then the
    // enemy comes back at the top with a new letter.
    for (frames = 0; frames < 100 && field.Blasts()[0].Active; ++frames) field.Tick(kFrameMs);
    EXPECT_EQ(frames, 9 * 3 - 1);
    EXPECT_TRUE(enemy.Alive);
    EXPECT_NE(field.Tick(kFrameMs) & SpaceField::kPlaneOut, 0u);
    EXPECT_LT(enemy.Y, 10);
    EXPECT_NE(enemy.Letter[0], letter);
    EXPECT_EQ(field.Key(enemy.Letter[0]), SpaceField::kShoot);
}

TEST_F(SpaceFieldTest, OneEnemyPlaysAtCountOneAndTheLevelUpBringsEnemyOneFromItsStartPlace) {
    SpaceField field;
    field.NewGame(settings_);
    ASSERT_EQ(field.EnemyCount(), 1);
    EXPECT_FLOAT_EQ(field.EnemySpeed(), 1.6F);
    for (int i = 0; i < 100; ++i) field.Tick(kFrameMs);
    const Enemy& second = field.Enemies()[1];
    EXPECT_FLOAT_EQ(second.X, 800);
    EXPECT_FLOAT_EQ(second.Y, -70);
    EXPECT_EQ(field.Key(second.Letter[0]), 0u) << "enemies beyond the count are not in play";
    EXPECT_EQ(field.LevelTimerMs(), SpaceField::kLevelMs - 100 * kFrameMs);

    EXPECT_NE(field.Tick(field.LevelTimerMs()) & SpaceField::kUpgrade, 0u);
    EXPECT_EQ(field.EnemyCount(), 2);
    EXPECT_EQ(field.LevelMessage(), u"等级提升,难度增大……");
    EXPECT_EQ(field.LevelTimerMs(), SpaceField::kLevelMs);
    EXPECT_FLOAT_EQ(second.Y, -70);
    field.Tick(kFrameMs);
    EXPECT_FLOAT_EQ(second.Y, -70 + 1.6F);
    EXPECT_FALSE(field.LevelMessage().empty());
    field.Tick(5000 - kFrameMs);
    EXPECT_TRUE(field.LevelMessage().empty()) << "the message stays five seconds";

    // The raised speed and count are what the next game is played at.
    SettingsRecord kept = settings_;
    field.StoreDifficulty(kept);
    EXPECT_EQ(kept.Field[kSpaceSpeed], 4);
    EXPECT_EQ(kept.Field[kSpaceCount], 2);
    for (int level = 0; level < 20; ++level) field.Tick(SpaceField::kLevelMs);
    EXPECT_EQ(field.EnemyCount(), 15);
    field.StoreDifficulty(kept);
    EXPECT_EQ(kept.Field[kSpaceSpeed], 10);

    // The big enemies start wholly on the screen, their letters seen, as they come back in.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        platform::Random::Seed(seed);
        field.NewGame(settings_);
        for (int32_t i = 7; i < 15; ++i) {
            const float x = field.Enemies()[i].X;
            EXPECT_TRUE(x >= 0 && x + static_cast<float>(field.EnemyKind(1).Width) <= 800)
                << "seed " << seed << ": " << x;
        }
    }
}

TEST_F(SpaceFieldTest, TheBonusWordArrivesAfter600FramesIsTypableOnlyInsideTheScreenAndRestoresEnergyUpTo173) {
    settings_.Field[kSpaceBonus] = 1;
    SpaceField field;
    field.NewGame(settings_);  // no course files: every word is the fallback text
    EXPECT_EQ(field.Bonus().Word, u"金雀打字游戏");
    field.EditEnemy(0).Alive = false;  // no enemy to take the keys or the energy
    BonusWord& bonus = field.EditBonus();
    bonus.Word = bonus.RestPart = u"go";

    uint32_t effects = 0;
    for (int frame = 1; frame < 600; ++frame) effects |= field.Tick(kFrameMs);
    EXPECT_EQ(effects & SpaceField::kWordOut, 0u);
    EXPECT_FALSE(field.Bonus().OnScreen);
    EXPECT_NE(field.Tick(kFrameMs) & SpaceField::kWordOut, 0u);
    EXPECT_FLOAT_EQ(field.Bonus().X, 800);
    EXPECT_TRUE(field.Bonus().OnScreen);
    // At X = 800 the letter is a shot; one step further in it is typed.
    field.SetScore(0);
    field.Key('G');
    EXPECT_EQ(field.Score(), -400);
    EXPECT_EQ(field.Bonus().Typed, 0);
    field.Tick(kFrameMs);
    EXPECT_EQ(field.Key('G'), 0u);
    EXPECT_EQ(field.Score(), -400);
    EXPECT_EQ(field.Bonus().TypedPart, u"g");
    EXPECT_EQ(field.Bonus().RestPart, u"o");
    EXPECT_EQ(field.Key('O'), 0u);
    EXPECT_EQ(field.Energy(), 173) << "full energy stays at the cap";
    EXPECT_FLOAT_EQ(field.Bonus().X, 3200);
    EXPECT_EQ(field.Bonus().Typed, 0);
    EXPECT_EQ(field.Bonus().RestPart, field.Bonus().Word);

    bonus.Word = bonus.RestPart = u"go";
    bonus.X = 4;
    field.SetEnergy(100);
    field.Key('G');
    field.Tick(kFrameMs);  // X = 0: the word can no longer be typed
    field.Key('O');
    EXPECT_EQ(field.Energy(), 100);
    EXPECT_EQ(field.Bonus().Typed, 1);
    bonus.X = 400;
    field.Key('O');
    EXPECT_EQ(field.Energy(), 150);

    // A word that flies out is replaced at the right with the word-out effect, always at a height
    // where it can be seen: below the status bar and above the bottom.
    for (int i = 0; i < 200; ++i) {
        bonus.X = -798;
        EXPECT_NE(field.Tick(kFrameMs) & SpaceField::kWordOut, 0u);
        EXPECT_FLOAT_EQ(field.Bonus().X, 3200);
        ASSERT_GE(field.Bonus().Y, 50);
        ASSERT_LE(field.Bonus().Y, 550);
    }
}

TEST_F(SpaceFieldTest, TheLevelTimerReadsFrom0200DownTo0000AndStartsAgainAndScoresShowTheirSign) {
    SpaceField field;
    field.NewGame(settings_);
    std::vector<std::u16string> shown{SpaceStatusText::Timer(field.LevelTimerMs())};
    for (int frame = 0; frame < SpaceField::kLevelMs / kFrameMs; ++frame) {
        field.Tick(kFrameMs);
        const std::u16string text = SpaceStatusText::Timer(field.LevelTimerMs());
        if (text != shown.back()) shown.push_back(text);
    }
    ASSERT_EQ(shown.size(), 122u);
    EXPECT_EQ(shown[0], u"02:00");
    EXPECT_EQ(shown[1], u"01:59");
    EXPECT_EQ(shown[61], u"00:59");
    EXPECT_EQ(shown[120], u"00:00");
    EXPECT_EQ(shown[121], u"02:00");

    EXPECT_EQ(SpaceStatusText::Score(0), u"0");
    EXPECT_EQ(SpaceStatusText::Score(1500), u"1,500");
    EXPECT_EQ(SpaceStatusText::Score(-400), u"-400");
    EXPECT_EQ(SpaceStatusText::Score(1234567), u"1,234,567");
    EXPECT_EQ(SpaceStatusText::Score(INT32_MIN), u"-2,147,483,648");
}

TEST_F(SpaceFieldTest, BonusWordsComeFromTheWordsButTheLastAndAnEmptyDictionaryGivesTheTitle) {
    IDict empty;
    for (int i = 0; i < 200; ++i) ASSERT_EQ(SpaceField::RandomWord(empty), u"金雀打字游戏");

    std::filesystem::create_directories(temp_.File("Data/English/T_WORD/Dictionary"));
    std::string course;
    for (const std::string word : {"ant", "bee", "cat"}) {
        course += std::string("\1\2\3\4") + static_cast<char>(word.size()) + '\0' + word + "wxyz";
    }
    temp_.Write("Data/English/T_WORD/Dictionary/T.ID", course);
    IDict three;
    ASSERT_TRUE(three.Load("T", 3));
    std::set<std::u16string> drawn;
    for (int i = 0; i < 400; ++i) drawn.insert(SpaceField::RandomWord(three));
    EXPECT_EQ(drawn, (std::set<std::u16string>{u"ant", u"bee"}));
}

}  // namespace
