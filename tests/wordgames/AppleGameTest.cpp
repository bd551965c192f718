// The apple game's rules: where an apple is lost, how long it lies, its speeds, catching, the
// basket, the buttons and the two round-end dialogs with the level they save.
#include <gtest/gtest.h>

#include "tests/wordgames/WordGameWorld.h"
#include "wordgames/AppleGame.h"

namespace wordgametest {
namespace {

class AppleGameTest : public WordGameWorld {
protected:
    AppleGame& Start() {
        game_ = AppleGame::Create();
        g_Screen = game_;
        game_->Run();
        Click(*game_, game_->BtnStart);
        return *game_;
    }
    // Catches every falling apple by its letter; returns how many keys caught one.
    int CatchAll() {
        int caught = 0;
        for (const Apple& apple : game_->Apples()) {
            const int before = game_->Caught();
            if (apple.State == Apple::kFalling) game_->KeyDown(apple.Letter[0], 0);
            caught += game_->Caught() - before;
        }
        return caught;
    }
    std::shared_ptr<AppleGame> game_;
};

TEST_F(AppleGameTest, OpensIdleAndTheButtonsFollowTheRound) {
    game_ = AppleGame::Create();
    g_Screen = game_;
    game_->Run();
    EXPECT_TRUE(game_->IsHalted());
    EXPECT_FALSE(game_->BtnPause->Enabled());
    EXPECT_FALSE(game_->BtnEnd->Enabled());
    game_->KeyDown('A', 0);
    EXPECT_EQ(game_->Caught(), 0);

    Click(*game_, game_->BtnStart);
    EXPECT_FALSE(game_->IsHalted());
    EXPECT_FALSE(game_->BtnStart->Enabled());
    EXPECT_TRUE(game_->BtnPause->Enabled() && game_->BtnEnd->Enabled());
    EXPECT_EQ(game_->BtnPause->FrameOffset(), 0) << "an enabled button shows its normal frame";
    EXPECT_EQ(game_->BtnEnd->FrameOffset(), 0);
    // Paused: nothing moves and keys catch nothing; the state is kept.
    const float y = game_->Apples()[0].Y;
    Click(*game_, game_->BtnPause);
    game_->UpDateGame();
    game_->KeyDown(game_->Apples()[0].Letter[0], 0);
    EXPECT_EQ(game_->Apples()[0].Y, y);
    EXPECT_EQ(game_->Caught(), 0);
    Click(*game_, game_->BtnPause);
    game_->UpDateGame();
    EXPECT_GT(game_->Apples()[0].Y, y);

    Click(*game_, game_->BtnEnd);
    EXPECT_TRUE(game_->IsHalted());
    EXPECT_TRUE(game_->BtnStart->Enabled());
    EXPECT_FALSE(game_->BtnEnd->Enabled());
}

TEST_F(AppleGameTest, AnAppleIsLostOnlyAboveTheGroundAndLiesFifteenFrames) {
    g_Settings.Field[kAppleLevel] = 0;
    AppleGame& game = Start();
    for (Apple& apple : game.Apples()) apple.Y = -500;  // out of the way
    Apple& apple = game.Apples()[2];
    apple.Y = 398;
    game.UpDateGame();
    game.UpDateGame();
    EXPECT_EQ(apple.Y, 400);
    EXPECT_EQ(apple.State, Apple::kFalling);
    EXPECT_EQ(game.Missed(), 0);
    game.UpDateGame();
    EXPECT_EQ(apple.State, Apple::kFallen);
    EXPECT_EQ(game.Missed(), 1);

    // Its letter catches nothing while it lies there.
    game.KeyDown(apple.Letter[0], 0);
    EXPECT_EQ(game.Caught(), 0);
    for (int frame = 1; frame < 15; ++frame) game.UpDateGame();
    EXPECT_EQ(apple.State, Apple::kFallen);
    EXPECT_EQ(apple.Y, 401);
    game.UpDateGame();
    EXPECT_EQ(apple.State, Apple::kWaiting);
    // Thrown in again on the next frame, without moving in it.
    game.UpDateGame();
    EXPECT_EQ(apple.State, Apple::kFalling);
    EXPECT_LE(apple.Y, -71);
    EXPECT_GE(apple.Y, -142);
    EXPECT_EQ(apple.FallenFrames, 0);
    EXPECT_EQ(game.Missed(), 1);
}

TEST_F(AppleGameTest, SpeedsFollowTheLevel) {
    const int32_t ranges[10] = {0, 0, 1, 1, 2, 2, 2, 3, 3, 4};
    for (int32_t level = 0; level <= 9; ++level) {
        g_Settings.Field[kAppleLevel] = level;
        AppleGame& game = Start();
        EXPECT_EQ(game.SpeedRange(), ranges[level]) << "level " << level;
        for (const Apple& apple : game.Apples()) {
            if (level <= 1) {
                EXPECT_EQ(apple.Speed, 1.0f);
            } else {
                EXPECT_GE(apple.Speed, 1.0f);
                EXPECT_LT(apple.Speed, 1.0f + ranges[level]);
            }
        }
    }
}

TEST_F(AppleGameTest, OneKeyCatchesOneFallingAppleAndTheBasketFills) {
    g_Settings.Field[kApplePass] = 100;
    AppleGame& game = Start();
    auto& apples = game.Apples();
    apples[1].Letter = apples[3].Letter;  // two apples with one letter: only the first is caught
    game.KeyDown(apples[3].Letter[0], 0);
    EXPECT_EQ(game.Caught(), 1);
    EXPECT_EQ(apples[1].State, Apple::kWaiting);
    EXPECT_EQ(apples[3].State, Apple::kFalling);
    game.KeyDown('1', 0);
    game.KeyDown(' ', 0);
    EXPECT_EQ(game.Caught(), 1);

    // One more small apple for every 12 caught, filling the basket places in order. Places low in
    // the basket lie behind its front, so the first place that shows above the rim is looked at.
    const auto smallApple = Picture("APPLE_SMALL");
    const auto basket = Picture("APPLE_BASKET");
    int32_t shown = -1, probeX = -1, probeY = -1;
    for (int32_t p = 0; p < AppleGame::kBasketPlaces && shown < 0; ++p) {
        const auto place = AppleGame::BasketPlace(p);
        for (int32_t y = 0; y < smallApple->Height() && shown < 0; ++y) {
            for (int32_t x = 0; x < smallApple->Width() && shown < 0; ++x) {
                const int32_t bx = place.x + x - 610, by = place.y + y - 460;
                const bool underBasket = bx >= 0 && by >= 0 && bx < basket->Width() && by < basket->Height();
                if (smallApple->ReadPixel(x, y) != 0 && (!underBasket || basket->ReadPixel(bx, by) == 0)) {
                    shown = p, probeX = place.x + x, probeY = place.y + y;
                }
            }
        }
    }
    ASSERT_GE(shown, 0) << "some basket place shows above the rim";
    const uint16_t appleColour =
        smallApple->ReadPixel(probeX - AppleGame::BasketPlace(shown).x, probeY - AppleGame::BasketPlace(shown).y);
    int checks = 0;
    auto drawShows = [&] {
        for (Apple& apple : apples) apple.State = Apple::kWaiting;  // no apple in front of the basket
        game.UpDateScreen();
        return BackPixel(probeX, probeY) == appleColour;
    };
    int32_t lastFill = -1;
    while (game.Caught() < 99) {
        if (CatchAll() == 0) game.UpDateGame();
        const int32_t fill = game.BasketFill();
        if (fill == lastFill) continue;
        EXPECT_EQ(fill, game.Caught() / 12) << game.Caught() << " caught";
        if (fill == shown || fill == shown + 1) {
            EXPECT_EQ(drawShows(), fill == shown + 1) << "fill " << fill;
            ++checks;
        }
        lastFill = fill;
    }
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(game.BasketFill(), 8);
}

TEST_F(AppleGameTest, APassedRoundRaisesTheLevelToNineAtMostAndSavesIt) {
    g_Settings.Field[kAppleLevel] = 8;
    g_Settings.Field[kApplePass] = 100;
    AppleGame& game = Start();
    for (int expected : {9, 9}) {
        DialogDriver driver({DialogDriver::Key(platform::VK_SPACE)});  // "next"
        for (int frame = 0; frame < 100 && driver.Waits() == 0; ++frame) {
            CatchAll();
            game.UpDateGame();
        }
        EXPECT_GT(driver.Waits(), 0) << "the round-end dialog opened";
        EXPECT_EQ(g_Settings.Field[kAppleLevel], expected);
        EXPECT_EQ(SavedField(kAppleLevel), expected);
        // The next round started at once.
        EXPECT_FALSE(game.IsHalted());
        EXPECT_EQ(game.Caught(), 0);
        EXPECT_EQ(game.SpeedRange(), 4);
    }
}

TEST_F(AppleGameTest, ALostRoundEndsOnEndAndReplaysOnAnyOtherAnswer) {
    g_Settings.Field[kAppleFail] = 5;
    g_Settings.Field[kAppleLevel] = 4;
    AppleGame& game = Start();
    auto loseRound = [&](uint32_t answer) {
        DialogDriver driver({DialogDriver::Key(answer)});
        for (int frame = 0; frame < 2000 && driver.Waits() == 0; ++frame) game.UpDateGame();
        EXPECT_GT(driver.Waits(), 0);
    };
    loseRound(platform::VK_RETURN);  // replay
    EXPECT_FALSE(game.IsHalted());
    EXPECT_EQ(game.Missed(), 0);
    // Settings changed mid-round and not applied at once: the round goes on at its own level,
    // and so does what it records.
    g_Settings.Field[kAppleLevel] = 9;
    loseRound(platform::VK_ESCAPE);  // end
    EXPECT_TRUE(game.IsHalted());
    EXPECT_TRUE(game.BtnStart->Enabled());
    EXPECT_EQ(game.LastResult().level, "4");
    EXPECT_EQ(game.SpeedRange(), 2);
    EXPECT_EQ(g_Settings.Field[kAppleLevel], 9);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath())) << "a lost round saves nothing";
}

}  // namespace
}  // namespace wordgametest
