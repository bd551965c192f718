// The real program started at the main menu: every game's exit asks "返回主菜单吗？" and leads
// back to the menu, from which the next game starts. A button of a screen or a dialog that
// appears under a resting pointer takes a click without a move.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/PackPictures.h"
#include "tests/support/PlayedProgram.h"

namespace {

using testsupport::Centre;
using testsupport::PackPicture;

// The question dialog stands at (240, 212); its answer buttons at +34 ("yes") and +214 ("no"),
// 130 below its top.
constexpr int32_t kDialogX = 240, kDialogY = 212;
const std::string kDialogNo = std::to_string(kDialogX + 214 + 40) + " " + std::to_string(kDialogY + 130 + 18);

struct GameExit {
    char key;             // the menu key that opens the game
    const char* picture;  // its exit button
    int frames;
    int32_t left, top;
};

constexpr GameExit kExits[] = {
    {'1', "POLICE_MAINMENU_EXIT", 3, 437, 452}, {'2', "SPACE_EXIT", 3, 257, 422},
    {'3', "PUBLIC_EXIT", 3, 30, 525},           {'4', "FROG_EXIT", 3, 10, 530},
    {'5', "PUBLIC_EXIT", 3, 15, 535},
};

class MenuRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PackPicture("MAIN_DLG_BG")) << "the picture pack is built by the assets target";
    }
    // The dialog's picture is on the screen (its text and buttons cover a little of it).
    bool ShowsQuestion(const std::string& shot) const {
        return program_.Covered(shot, "MAIN_DLG_BG", 1, kDialogX, kDialogY) > 0.8;
    }
    bool ShowsMenu(const std::string& shot) const { return program_.Covered(shot, "MAIN_QUIT", 3, 550, 533) > 0.95; }

    testsupport::PlayedProgram program_;
};

TEST_F(MenuRoundTrip, EveryGamesExitAsksAndLeadsBackToTheMenuWhereTheNextGameStarts) {
    std::string script = "frames 3\n";
    int n = 0;
    for (const GameExit& game : kExits) {
        const std::string tag = std::to_string(++n);
        script += std::string("key ") + game.key + "\nframes 3\nsnapshot " + program_.Shot("game" + tag + ".png") +
                  "\nclick " + Centre(game.picture, game.frames, game.left, game.top) + "\nframes 3\nsnapshot " +
                  program_.Shot("ask" + tag + ".png") + "\nkey Enter\nframes 3\nsnapshot " +
                  program_.Shot("menu" + tag + ".png") + "\n";
    }
    // Started at the menu, the menu's own quit ends the program after "你真的要退出吗？".
    script += "key Esc\nframes 3\nsnapshot " + program_.Shot("quit.png") + "\nkey Enter\nframes 3\n";
    ASSERT_EQ(program_.Play(script, "--menu"), 0) << program_.Output();
    EXPECT_EQ(program_.Output().find("script line"), std::string::npos) << program_.Output();

    for (int i = 1; i <= n; ++i) {
        const std::string tag = std::to_string(i);
        EXPECT_FALSE(ShowsMenu("game" + tag + ".png")) << "game " << tag;
        EXPECT_TRUE(ShowsQuestion("ask" + tag + ".png")) << "game " << tag;
        EXPECT_TRUE(ShowsMenu("menu" + tag + ".png")) << "game " << tag;
        EXPECT_FALSE(ShowsQuestion("menu" + tag + ".png")) << "game " << tag;
    }
    EXPECT_GT(program_.Covered("game1.png", "POLICE_MAINMENU_EXIT", 3, 437, 452), 0.95);
    EXPECT_GT(program_.Covered("game2.png", "SPACE_EXIT", 3, 257, 422), 0.95);
    EXPECT_GT(program_.Covered("game4.png", "FROG_BACKGROUND", 1, 0, 0), 0.8);
    EXPECT_TRUE(ShowsQuestion("quit.png"));
    // Back to the menu is answered "是" or "否"; quitting "退出" or "返回".
    const int32_t yesX = kDialogX + 34, answerY = kDialogY + 130;
    EXPECT_GT(program_.Covered("ask1.png", "YES", 3, yesX, answerY), 0.9);
    EXPECT_GT(program_.Covered("ask1.png", "NO", 3, kDialogX + 214, answerY), 0.9);
    EXPECT_GT(program_.Covered("quit.png", "MAIN_DLG_EXIT", 3, yesX, answerY), 0.9);

    // The games ask another question than the menu's quit: the dialog's text differs.
    const auto game = program_.LoadShot("ask1.png");
    const auto quit = program_.LoadShot("quit.png");
    ASSERT_TRUE(game && quit);
    int differing = 0;
    for (int32_t y = kDialogY + 55; y < kDialogY + 90; ++y) {
        for (int32_t x = kDialogX + 100; x < kDialogX + 300; ++x)
            differing += game->ReadPixel(x, y) != quit->ReadPixel(x, y);
    }
    EXPECT_GT(differing, 50);
}

TEST_F(MenuRoundTrip, AButtonUnderARestingPointerTakesAClickOnANewDialogAndANewScreen) {
    const std::string start = Centre("SPACE_START", 3, 257, 287);
    const std::string script =
        // The pointer rests where the question's "no" will be; the dialog opens under it.
        "frames 3\nmove " + kDialogNo + "\nframes 2\nopen msgdlg\nframes 2\ndown " + kDialogNo + "\nup " + kDialogNo +
        "\nframes 3\nsnapshot " + program_.Shot("answered.png") +
        // The pointer rests where the space shooter's start will be; key 2 opens that screen
        // under it, and a press and release there start a game. Then Esc: the return button
        // appears under the resting pointer and a press and release there resume the game.
        "\nmove " + start + "\nframes 2\nkey 2\nframes 3\ndown " + start + "\nup " + start + "\nframes 20\nsnapshot " +
        program_.Shot("started.png") + "\nkey Esc\nframes 3\nsnapshot " + program_.Shot("kept.png") + "\ndown " +
        start + "\nup " + start + "\nframes 5\nsnapshot " + program_.Shot("resumed.png") + "\n";
    ASSERT_EQ(program_.Play(script, "--menu"), 0) << program_.Output();
    EXPECT_FALSE(ShowsQuestion("answered.png")) << "the dialog took the click";
    EXPECT_TRUE(ShowsMenu("answered.png"));
    EXPECT_LT(program_.Covered("started.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.5) << "the new screen took the click";
    EXPECT_GT(program_.Covered("kept.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.8);
    EXPECT_LT(program_.Covered("resumed.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.5) << "the game went on";
    EXPECT_GT(program_.Covered("resumed.png", "SPACE_LABEL_SCORE", 1, 30, 20), 0.95);
}

}  // namespace
