// The space shooter's screen over the real packs, headless: its menu, a game kept through Esc and
// resumed exactly, game over with the high-score entry and the difficulty kept, leaving before
// any game, and the level-up notice in large legible letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "results/HiScore.h"
#include "tests/support/Contrast.h"
#include "tests/wordgames/WordGameWorld.h"
#include "wordgames/SpaceShootGame.h"

namespace {

using wordgametest::DialogDriver;

class SpaceShootGameTest : public wordgametest::WordGameWorld {
protected:
    void SetUp() override {
        WordGameWorld::SetUp();
        g_HiScore = std::make_shared<HiScore>();
        g_Settings.Field[kSpaceCount] = 1;
        g_Settings.Field[kSpaceSpeed] = 3;
        g_Settings.Field[kSpaceBonus] = 0;
        // As at a start: the file holds what the game was given.
        SaveSettings(kSettingsFile);
        g_FrameElapsed = 20;
    }
    void TearDown() override {
        g_Screen.reset();
        g_HiScore.reset();
        WordGameWorld::TearDown();
    }
    SpaceShootGame& Enter() {
        auto game = SpaceShootGame::Create();
        g_Screen = game;
        game->Run();
        return *game;
    }
    static void Frame() {
        g_Screen->UpDateGame();
        g_Screen->UpDateScreen();
    }
    static void Click(const std::shared_ptr<AniButton>& button) {
        const std::shared_ptr<IGameInterface> screen = g_Screen;
        WordGameWorld::Click(*screen, button);
    }
    // Whether the back surface shows frame 0 of the strip `picture` at the button's place.
    static bool ShowsButton(const std::string& picture, const AniButton& button) {
        const auto strip = Picture(picture);
        int same = 0;
        for (int32_t y = 0; y < button.FrameHeight(); ++y) {
            for (int32_t x = 0; x < button.FrameWidth(); ++x) {
                const uint16_t p = strip->ReadPixel(x, y);
                same += p == 0 || BackPixel(button.Left + x, button.Top + y) == p ? 1 : 0;
            }
        }
        return same == button.FrameWidth() * button.FrameHeight();
    }
    static int Count(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t bgr) {
        const uint16_t pixel = platform::Surface::RawFromBgr(bgr);
        int n = 0;
        for (int32_t py = y; py < y + h; ++py) {
            for (int32_t px = x; px < x + w; ++px) n += BackPixel(px, py) == pixel ? 1 : 0;
        }
        return n;
    }
    // Enemy 0 on the ship: the next frame takes its damage.
    static void Ram(SpaceShootGame& game) {
        Enemy& enemy = game.EditField().EditEnemy(0);
        enemy.X = game.Field().ShipX() + 5;
        enemy.Y = game.Field().ShipY() - 10;
        enemy.Alive = true;
    }
};

TEST_F(SpaceShootGameTest, EscKeepsTheGameFrozenAndReturnResumesItExactlyWhereItStopped) {
    SpaceShootGame& game = Enter();
    Frame();
    EXPECT_EQ(game.ScreenMode(), SpaceShootGame::kMenu);
    EXPECT_TRUE(ShowsButton("SPACE_START", *game.BtnStart));
    game.KeyDown(platform::VK_ESCAPE, 0);  // Esc in the menu changes nothing
    EXPECT_EQ(game.ScreenMode(), SpaceShootGame::kMenu);

    Click(game.BtnStart);
    ASSERT_EQ(game.ScreenMode(), SpaceShootGame::kPlaying);
    for (int i = 0; i < 30; ++i) Frame();
    game.KeyDown('7', 0);
    EXPECT_EQ(game.Field().Score(), -400);
    // Shift, Ctrl (of Ctrl+M too), Alt and Caps Lock fire at nothing and cost nothing.
    for (uint32_t vk : {platform::VK_SHIFT, platform::VK_CONTROL, platform::VK_MENU, platform::VK_CAPITAL})
        game.KeyDown(static_cast<int32_t>(vk), 0);
    EXPECT_EQ(game.Field().Score(), -400);
    Frame();
    EXPECT_GT(Count(80, 20, 60, 24, 0x00FF00), 0) << "the score is drawn in green";

    game.KeyDown(platform::VK_ESCAPE, 0);
    EXPECT_EQ(game.ScreenMode(), SpaceShootGame::kMenu);
    const float shipX = game.Field().ShipX();
    const Enemy enemy = game.Field().Enemies()[0];
    const int32_t timer = game.Field().LevelTimerMs();
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_TRUE(ShowsButton("SPACE_RETURN", *game.BtnReturn));
    EXPECT_FALSE(game.BtnStart->Enabled());
    game.KeyDown(enemy.Letter[0], 0);  // keys in the menu do not play
    EXPECT_EQ(game.Field().Score(), -400);

    Click(game.BtnReturn);
    ASSERT_EQ(game.ScreenMode(), SpaceShootGame::kPlaying);
    EXPECT_FLOAT_EQ(game.Field().ShipX(), shipX);
    EXPECT_FLOAT_EQ(game.Field().Enemies()[0].Y, enemy.Y);
    EXPECT_EQ(game.Field().Enemies()[0].Letter, enemy.Letter);
    EXPECT_EQ(game.Field().LevelTimerMs(), timer);
    g_FrameElapsed = 20;
    Frame();
    EXPECT_EQ(game.Field().LevelTimerMs(), timer - 20);
    EXPECT_NE(game.Field().ShipX(), shipX);
}

TEST_F(SpaceShootGameTest, GameOverEntersAQualifyingScoreKeepsTheDifficultyAndTheMenuOffersANewGame) {
    SpaceShootGame& game = Enter();
    Click(game.BtnStart);
    game.EditField().SetScore(4500);
    game.EditField().SetEnergy(10);
    Ram(game);
    {
        // The name box offers "英雄", selected; the player rubs it out and types "Li".
        DialogDriver driver({DialogDriver::Key(platform::VK_BACK), DialogDriver::Char(u'L'), DialogDriver::Char(u'i'),
                             DialogDriver::Key(platform::VK_RETURN)});
        Frame();
        EXPECT_GT(driver.Waits(), 0) << "a qualifying score asks for a name";
    }
    ASSERT_EQ(game.ScreenMode(), SpaceShootGame::kGameOver);
    EXPECT_EQ(game.Field().Score(), 0);
    ASSERT_EQ(g_HiScore->EntryCount(), 1);
    EXPECT_EQ(g_HiScore->EntryAt(0).Name, u"Li");
    EXPECT_EQ(g_HiScore->EntryAt(0).Score, 4500);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "Game" / "space.hi"));
    EXPECT_EQ(SavedField(kSpaceCount), 1);
    EXPECT_EQ(SavedField(kSpaceSpeed), 3);
    EXPECT_GT(Count(300, 300, 160, 45, 255), 100) << "GameOver in red";
    // The score line above it shows what the game ended with, not the cleared score.
    const int scoreLine4500 = Count(250, 245, 300, 40, 0x00FF00);

    game.KeyDown(platform::VK_ESCAPE, 0);
    Frame();
    EXPECT_TRUE(game.BtnStart->Enabled());
    EXPECT_FALSE(game.BtnReturn->Enabled());
    EXPECT_TRUE(ShowsButton("SPACE_START", *game.BtnStart));

    // A game ending at 0 points or less asks for no name while the next row is empty. The speed
    // set meanwhile ("not now") is not the one it played.
    Click(game.BtnStart);
    g_Settings.Field[kSpaceSpeed] = 9;
    game.KeyDown('7', 0);
    game.EditField().SetEnergy(1);
    Ram(game);
    {
        DialogDriver driver;
        Frame();
        EXPECT_EQ(driver.Waits(), 0);
    }
    EXPECT_EQ(game.ScreenMode(), SpaceShootGame::kGameOver);
    EXPECT_EQ(game.LastResult().level, "3");
    EXPECT_EQ(g_HiScore->EntryCount(), 1);
    EXPECT_NE(Count(250, 245, 300, 40, 0x00FF00), scoreLine4500) << "得分 -400 is not 得分 4,500";

    // A Chinese name leaves the score in the Latin face: both lines of 4500 end alike.
    g_HiScore->Insert(u"中文", 4500);
    game.KeyDown(platform::VK_ESCAPE, 0);
    Click(game.BtnHiScore);
    Frame();
    auto lineEnd = [](int32_t y) {
        int32_t right = 600;
        while (right > 250 && Count(right - 1, y, 1, 30, 0x00FF00) == 0) --right;
        std::vector<int> columns;
        for (int32_t x = right - 40; x < right; ++x) columns.push_back(Count(x, y, 1, 30, 0x00FF00));
        return columns;
    };
    EXPECT_EQ(lineEnd(165), lineEnd(200));
}

TEST_F(SpaceShootGameTest, LeavingBeforeAnyGameKeepsTheSettingsFileAsItIsAndOptionsOpenTheSpacePage) {
    g_Settings.Field[kSpaceSpeed] = 7;
    g_Settings.Field[kSpaceCount] = 12;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    // A newer program's file, longer than this one writes: what nobody changed is not rewritten.
    std::ofstream(SettingsPath(), std::ios::binary | std::ios::app) << "newer program's fields";
    const std::string before = testsupport::TempDir::ReadFile(SettingsPath().string());
    SpaceShootGame& game = Enter();
    Frame();
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_ESCAPE)});
        Click(game.BtnExit);
        EXPECT_GT(driver.Waits(), 0);
    }
    EXPECT_EQ(g_Screen.get(), &game);
    EXPECT_EQ(testsupport::TempDir::ReadFile(SettingsPath().string()), before);
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_ESCAPE)});
        Click(game.BtnOption);
        EXPECT_GT(driver.Waits(), 0);
    }
    EXPECT_EQ(g_SetupDlg->Page(), 4);
    EXPECT_EQ(game.ScreenMode(), SpaceShootGame::kMenu) << "cancelled options start no game";
}

TEST_F(SpaceShootGameTest, TheLevelUpNoticeStandsLargeAndLegibleUnderTheStatusBar) {
    SpaceShootGame& game = Enter();
    Click(game.BtnStart);
    Frame();
    EXPECT_EQ(Count(0, 50, 800, 80, 0x00FF00), 0) << "no notice before the level goes up";
    // Two minutes of play in one frame: the level goes up and the notice stays five seconds.
    g_FrameElapsed = SpaceField::kLevelMs;
    Frame();
    g_FrameElapsed = 20;
    Frame();
    ASSERT_FALSE(game.Field().LevelMessage().empty());
    const platform::Rect notice{0, 50, 800, 130};
    const auto contrast = testsupport::MeasureText(g_Graphic->BackSurface(), notice, 0x00FF00);
    EXPECT_GE(contrast.ratio, 4.5);
    // Large letters across the middle: the green spans more than 20 lines and 200 columns.
    const uint16_t green = platform::Surface::RawFromBgr(0x00FF00);
    int32_t top = notice.bottom, bottom = notice.top, left = notice.right, right = notice.left;
    for (int32_t y = notice.top; y < notice.bottom; ++y) {
        for (int32_t x = notice.left; x < notice.right; ++x) {
            if (BackPixel(x, y) != green) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_GT(top, 45) << "under the status bar";
    EXPECT_GT(bottom - top, 20);
    EXPECT_GT(right - left, 200);
    EXPECT_LT(std::abs((left + right) / 2 - 400), 10) << "centred";
}

}  // namespace
