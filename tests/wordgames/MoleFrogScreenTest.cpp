#include <gtest/gtest.h>

#include "menu/SwitchBoard.h"
#include "platform/SoundBuffer.h"
#include "shell/ExitQuestion.h"
#include "shell/Settings.h"
#include "tests/wordgames/WordGameWorld.h"
#include "wordgames/FrogGame.h"
#include "wordgames/MoleGame.h"

namespace {

using wordgametest::DialogDriver;

constexpr uint32_t kBlack = 0;
constexpr uint32_t kBlue = 0xFF0000;

class MoleFrogWorld : public wordgametest::WordGameWorld {
protected:
    // The screen is held for the click, as the shell holds it for a handler that switches screens.
    static void Click(const std::shared_ptr<AniButton>& button) {
        const std::shared_ptr<IGameInterface> screen = g_Screen;
        WordGameWorld::Click(*screen, button);
    }
    static void Frame() {
        g_Screen->UpDateGame();
        g_Screen->UpDateScreen();
    }
    static bool Playing(int slot) { return g_Sound->Slot(slot) != nullptr && g_Sound->Slot(slot)->Playing(); }
    static bool LoopPlaying() { return g_Sound->Loop() != nullptr && g_Sound->Loop()->Playing(); }
    // Pixels of colour `bgr` (0x00BBGGRR) in the box (x, y, w, h) of the back surface.
    static int CountColour(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t bgr) {
        const uint16_t pixel = platform::Surface::RawFromBgr(bgr);
        int n = 0;
        for (int32_t py = y; py < y + h; ++py) {
            for (int32_t px = x; px < x + w; ++px) n += BackPixel(px, py) == pixel ? 1 : 0;
        }
        return n;
    }
    void WriteCourse(const std::string& key, const std::vector<std::string>& words) {
        std::ofstream out(DictionaryDir() / (key + ".ID"), std::ios::binary);
        for (const std::string& word : words) {
            const char size[2] = {static_cast<char>(word.size()), 0};
            out.write("\1\2\3\4", 4).write(size, 2).write(word.data(), static_cast<std::streamsize>(word.size()));
            out.write("\4\3\2\1", 4);
        }
    }
};

class MoleScreenTest : public MoleFrogWorld {
protected:
    MoleGame& Enter() {
        auto game = MoleGame::Create();
        g_Screen = game;
        game->Run();
        return *game;
    }
};

TEST_F(MoleScreenTest, ARoundHitsWithItsSoundShowsTheHitRateAfterTheFirstKeyAndPausesTheMusic) {
    g_Settings.Field[kMoleInterval] = 0;
    g_Settings.Field[kMoleStay] = 3;
    MoleGame& game = Enter();
    Frame();
    EXPECT_TRUE(game.IsHalted());
    Click(game.BtnStart);
    ASSERT_FALSE(game.IsHalted());
    EXPECT_TRUE(LoopPlaying());
    EXPECT_FALSE(game.BtnStart->Enabled());
    for (int frame = 0; frame < 40 && game.Field().Holes()[0].State != MoleField::kUp; ++frame) Frame();
    ASSERT_EQ(game.Field().Holes()[0].State, MoleField::kUp);
    const int rateBefore = CountColour(600, 545, 60, 20, kBlack);

    game.KeyDown(game.Field().Holes()[0].Letter[0], 0);
    EXPECT_TRUE(Playing(1));
    EXPECT_EQ(game.Field().Caught(), 1);
    game.KeyDown(platform::VK_SHIFT, 0);  // no key stroke: the hit rate stays 100 %
    game.KeyDown(platform::VK_CONTROL, 0);
    EXPECT_EQ(game.Field().Keystrokes(), 1);
    Frame();
    EXPECT_GT(CountColour(600, 545, 60, 20, kBlack), rateBefore);

    Click(game.BtnPause);
    EXPECT_TRUE(game.IsHalted());
    EXPECT_FALSE(LoopPlaying());
    game.KeyDown('A', 0);
    EXPECT_EQ(game.Field().Keystrokes(), 1);
    Click(game.BtnPause);
    EXPECT_FALSE(game.IsHalted());
    EXPECT_FALSE(LoopPlaying());

    Click(game.BtnEnd);
    EXPECT_TRUE(game.IsHalted());
    EXPECT_TRUE(game.BtnStart->Enabled());
    EXPECT_EQ(game.Field().TimeLeftMs(), 0);
    EXPECT_EQ(game.Field().Caught(), 0);

    // Started at the menu, the exit asks whether to go back there; Enter opens a fresh menu.
    SwitchBoard::RegisterScreens();
    ExitQuestion::SetStartedAtMenu(true);
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_RETURN)});
        Click(game.BtnExit);
        EXPECT_GT(driver.Waits(), 0);
    }
    ExitQuestion::SetStartedAtMenu(false);
    ASSERT_NE(std::dynamic_pointer_cast<SwitchBoard>(g_Screen), nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<SwitchBoard>(g_Screen)->Highlighted(), 0);
}

class FrogScreenTest : public MoleFrogWorld {
protected:
    FrogGame& Enter() {
        auto game = FrogGame::Create();
        g_Screen = game;
        game->Run();
        return *game;
    }
};

TEST_F(FrogScreenTest, WithoutACourseTheStartButtonStartsNothingUntilTheCourseIsThere) {
    g_Settings.Field[kFrogCourse] = 0;
    FrogGame& game = Enter();
    EXPECT_EQ(game.Dictionary().Count(), 0);
    Click(game.BtnStart);
    EXPECT_TRUE(game.IsHalted());
    EXPECT_TRUE(game.BtnStart->Enabled());
    EXPECT_FALSE(game.BtnPause->Enabled());
    game.KeyPress('a');
    Frame();
    EXPECT_EQ(game.River().FrogLeaf(), FrogRiver::kNearBank);
    game.KeyDown('A', 0);
    EXPECT_TRUE(Playing(3));

    WriteCourse("Grade", {"frog", "leaf", "pond", "reed", "newt", "moss", "lily", "duck", "swan", "toad", "bank"});
    Click(game.BtnStart);
    EXPECT_FALSE(game.IsHalted());
    EXPECT_GT(game.Dictionary().Count(), 0);
}

TEST_F(FrogScreenTest, TypingALeafsWordShowsItsTwoPartsAndJumpsOntoIt) {
    g_Settings.Field[kFrogCourse] = 0;
    g_Settings.Field[kFrogLevel] = 2;
    WriteCourse("Grade", {"frog", "leaf", "pond", "reed", "newt", "moss", "lily", "duck", "swan", "toad", "bank"});
    FrogGame& game = Enter();
    Click(game.BtnStart);
    ASSERT_FALSE(game.IsHalted());
    EXPECT_FLOAT_EQ(game.River().Speed(), 1.2F);
    Frame();
    const FrogRiver::Leaf& first = game.River().At(0);
    const std::u16string word = first.Word;
    ASSERT_GE(word.size(), 2u);
    const int32_t x = static_cast<int32_t>(first.X) + first.TextOffset - 2;
    const int32_t y = static_cast<int32_t>(first.Y) + 22;
    EXPECT_EQ(CountColour(x, y, 110, 26, kBlue), 0);

    game.KeyPress(word[0]);
    Frame();
    EXPECT_EQ(game.River().TargetLeaf(), 0);
    EXPECT_GT(CountColour(x, y, 110, 26, kBlue), 0);
    for (size_t i = 1; i < word.size(); ++i) game.KeyPress(word[i]);
    EXPECT_EQ(game.River().FrogLeaf(), 0);
    EXPECT_TRUE(Playing(0));
}

// A course chosen in the settings and saved "not now" is the next round's.
TEST_F(FrogScreenTest, ACourseSavedForLaterIsTheNextRoundsCourse) {
    g_Settings.Field[kFrogCourse] = 0;
    WriteCourse("Grade", {"frog", "leaf", "pond", "reed", "newt", "moss", "lily", "duck", "swan", "toad", "bank"});
    WriteCourse("4W", {"quiz", "quip", "quit", "quay", "quad", "quag", "quid", "quin", "quod", "quey", "quim"});
    FrogGame& game = Enter();
    g_Settings.Field[kFrogCourse] = 3;
    Click(game.BtnStart);
    ASSERT_FALSE(game.IsHalted());
    for (int32_t leaf = 0; leaf < 3; ++leaf) EXPECT_EQ(game.River().At(leaf).Word[0], u'q') << leaf;
}

}  // namespace
