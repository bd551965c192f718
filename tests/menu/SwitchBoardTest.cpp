// The main menu: splashes following the pointer, the pixel hit test of the game buttons, the
// digit keys and clicks that open the games, and the quit question.
#include <gtest/gtest.h>

#include "menu/RecordsScreen.h"
#include "menu/SwitchBoard.h"
#include "platform/SoundBuffer.h"
#include "police/PoliceGame.h"
#include "tests/wordgames/WordGameWorld.h"
#include "wordgames/AppleGame.h"
#include "wordgames/FrogGame.h"
#include "wordgames/MoleGame.h"
#include "wordgames/SpaceShootGame.h"

namespace wordgametest {
namespace {

class SwitchBoardTest : public WordGameWorld {
protected:
    SwitchBoard& Enter() {
        menu_ = SwitchBoard::Create();
        g_Screen = menu_;
        menu_->Run();
        return *menu_;
    }
    static std::pair<int32_t, int32_t> Centre(const std::shared_ptr<AniButton>& b) {
        return {b->Left + b->FrameWidth() / 2, b->Top + b->FrameHeight() / 2};
    }
    void MoveTo(const std::shared_ptr<AniButton>& b) {
        const auto [x, y] = Centre(b);
        menu_->MouseMove(x, y);
    }
    // Whether the click sound was started in this test (its position stays once it has played).
    static bool ClickPlayed() {
        const platform::SoundBuffer* click = g_Sound->Click();
        return click && (click->Playing() || click->Position() > 0);
    }

    std::shared_ptr<SwitchBoard> menu_;
};

TEST_F(SwitchBoardTest, SplashFollowsThePointerFromButtonToButtonInBothDirections) {
    SwitchBoard& menu = Enter();
    const auto police = Picture("MAIN_POLICE_SPLASH");
    const auto space = Picture("MAIN_SPACE_SPLASH");
    const auto none = Picture("MAIN_NONE");
    ASSERT_NE(police->ReadPixel(700, 100), space->ReadPixel(700, 100));
    EXPECT_EQ(menu.Highlighted(), 0);

    MoveTo(menu.BtnPolice);
    EXPECT_EQ(menu.Highlighted(), 5);
    MoveTo(menu.BtnSpace);  // the space button takes the move before the police button leaves
    EXPECT_EQ(menu.Highlighted(), 4);
    menu.UpDateScreen();
    EXPECT_EQ(BackPixel(700, 100), space->ReadPixel(700, 100));
    MoveTo(menu.BtnPolice);  // here the space button leaves first
    EXPECT_EQ(menu.Highlighted(), 5);
    MoveTo(menu.BtnApple);
    EXPECT_EQ(menu.Highlighted(), 1);
    menu.MouseMove(700, 100);
    EXPECT_EQ(menu.Highlighted(), 0);
    menu.UpDateScreen();
    EXPECT_EQ(BackPixel(700, 100), none->ReadPixel(700, 100));
}

TEST_F(SwitchBoardTest, APressOnATransparentPixelOfAGameButtonDoesNothing) {
    SwitchBoard& menu = Enter();
    const auto strip = Picture("MAIN_APPLE");
    const int32_t w = menu.BtnApple->FrameWidth();
    int32_t px = -1, py = -1;
    for (int32_t y = 1; y < strip->Height() && px < 0; ++y) {
        for (int32_t x = 1; x < w && px < 0; ++x) {
            if (strip->ReadPixel(x, y) == 1000) px = x, py = y;
        }
    }
    ASSERT_GE(px, 0) << "the apple button has transparent corners";
    Click(menu, menu.BtnApple->Left + px, menu.BtnApple->Top + py);
    EXPECT_EQ(menu.Highlighted(), 0);
    EXPECT_EQ(g_Screen, menu_);
}

TEST_F(SwitchBoardTest, DigitKeysOpenTheGamesWithoutTheClickSoundAClickPlaysIt) {
    SwitchBoard& menu = Enter();
    for (int32_t key : {'0', '7', 'A'}) menu.KeyDown(key, 0);  // no screen for them
    EXPECT_EQ(g_Screen, menu_);
    menu.KeyDown('5', 0);
    EXPECT_NE(std::dynamic_pointer_cast<AppleGame>(g_Screen), nullptr);
    if (g_Sound->Enabled()) {
        EXPECT_FALSE(ClickPlayed());
    }

    SwitchBoard& again = Enter();
    EXPECT_EQ(again.Highlighted(), 0);
    Click(again, again.BtnApple);
    EXPECT_NE(std::dynamic_pointer_cast<AppleGame>(g_Screen), nullptr);
    if (g_Sound->Enabled()) {
        EXPECT_TRUE(ClickPlayed());
    }

    Enter().KeyDown('1', 0);
    EXPECT_NE(std::dynamic_pointer_cast<PoliceGame>(g_Screen), nullptr);
    Enter().KeyDown('2', 0);
    EXPECT_NE(std::dynamic_pointer_cast<SpaceShootGame>(g_Screen), nullptr);
    Enter().KeyDown('3', 0);
    EXPECT_NE(std::dynamic_pointer_cast<MoleGame>(g_Screen), nullptr);
    Enter().KeyDown('4', 0);
    EXPECT_NE(std::dynamic_pointer_cast<FrogGame>(g_Screen), nullptr);
    Enter().KeyDown('6', 0);
    EXPECT_NE(std::dynamic_pointer_cast<RecordsScreen>(g_Screen), nullptr);
    Enter().KeyDown(platform::VK_NUMPAD0 + 5, 0);  // the number pad's 5
    EXPECT_NE(std::dynamic_pointer_cast<AppleGame>(g_Screen), nullptr);
    Enter().KeyDown(platform::VK_NUMPAD0 + 7, 0);  // no seventh choice
    EXPECT_NE(std::dynamic_pointer_cast<SwitchBoard>(g_Screen), nullptr);
}

TEST_F(SwitchBoardTest, EscAsksToQuitEscAgainKeepsTheMenuEnterEnds) {
    SwitchBoard& menu = Enter();
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_ESCAPE)});
        menu.KeyDown(platform::VK_ESCAPE, 0);
        EXPECT_GT(driver.Waits(), 0);
    }
    EXPECT_EQ(g_Screen, menu_);
    bool ended = false;
    {
        DialogDriver driver({DialogDriver::Key(platform::VK_RETURN)});
        try {
            menu.KeyDown(platform::VK_ESCAPE, 0);
        } catch (const ProgramEnded&) {
            ended = true;
        }
    }
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace wordgametest
