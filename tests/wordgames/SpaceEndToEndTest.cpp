// The real program played through a script from the main menu: key 2 opens the space shooter,
// a game starts, Esc keeps it behind the return button, the return button resumes it, the
// enemies wear the ship's energy down to game over, and Esc leads back to a menu that offers a
// new game. The difficulty kept at game over is read back from the settings file. A game that
// scores asks for a name at game over, and the name and score are in the table the next start
// shows; closing the window while the box asks still enters the name it shows.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/Surface.h"
#include "results/HiScore.h"
#include "shell/NameBox.h"
#include "shell/Settings.h"
#include "tests/support/PackPictures.h"
#include "tests/support/PlayedProgram.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::Centre;
using testsupport::PackPicture;

// Frames from pressing start by which fifteen enemies at the top speed have taken all the energy:
// they need 1,600 to 1,900 frames, and a game over stays on the screen.
constexpr int kFramesToGameOver = 3000;
// The colour of the high-score rows.
constexpr uint32_t kHiScoreGreen = 0x00FF00;

class SpaceEndToEnd : public ::testing::Test, protected testsupport::PlayedProgram {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("SPACE_MAINMENU_BG")) << "the picture pack is built by the assets target";
        platform::SetProgramFolder(Dir().string());
    }

    int Play(const std::string& script) { return PlayedProgram::Play(script, "--menu", 23); }

    // Fifteen enemies at the top speed and no bonus word: a game that ends soon.
    static bool SaveFastestGame() {
        g_Settings = DefaultSettings();
        g_Settings.Field[kSpaceCount] = 15;
        g_Settings.Field[kSpaceSpeed] = 10;
        g_Settings.Field[kSpaceBonus] = 0;
        return SaveSettings(kSettingsFile);
    }
};

TEST_F(SpaceEndToEnd, KeyTwoOpensTheShooterAGameIsKeptByEscResumedAndPlayedToGameOver) {
    ASSERT_GT(kFramesToGameOver, 0);
    ASSERT_TRUE(SaveFastestGame());
    const std::string button = Centre("SPACE_START", 3, 257, 287);
    const std::string script = "frames 2\nkey 2\nframes 2\nsnapshot " + Shot("menu.png") + "\nclick " + button +
                               "\nframes 40\nsnapshot " + Shot("play.png") + "\nkey Esc\nframes 2\nsnapshot " +
                               Shot("kept.png") + "\nclick " + button + "\nframes " +
                               std::to_string(kFramesToGameOver - 40) + "\nsnapshot " + Shot("over.png") +
                               "\nkey Esc\nframes 2\nsnapshot " + Shot("again.png") + "\n";
    ASSERT_EQ(Play(script), 0) << Output();

    EXPECT_GT(Covered("menu.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.8);
    EXPECT_GT(Covered("menu.png", "SPACE_START", 3, 257, 287), 0.95);
    EXPECT_LT(Covered("play.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.5);
    for (const auto& [label, x] :
         {std::pair{"SPACE_LABEL_SCORE", 30}, {"SPACE_LABEL_LIFE", 234}, {"SPACE_LABEL_TIME", 530}}) {
        EXPECT_GT(Covered("play.png", label, 1, x, 20), 0.95) << label;
    }
    // The pointer rests where it clicked: the menu that comes back shows that button lit.
    EXPECT_GT(Covered("kept.png", "SPACE_RETURN", 3, 257, 287, 1), 0.95);
    EXPECT_GT(Count("over.png", {300, 300, 460, 345}, 255), 100) << "GameOver in red\n" << Output();
    EXPECT_GT(Covered("again.png", "SPACE_START", 3, 257, 287, 1), 0.95);

    // Game over kept the difficulty reached; a game that scored nothing entered no name.
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Field[kSpaceSpeed], 10);
    EXPECT_EQ(g_Settings.Field[kSpaceCount], 15);
    EXPECT_FALSE(fs::exists(Dir() / "Game" / "space.hi"));
}

TEST_F(SpaceEndToEnd, AScoringGameAsksForANameThatTheNextStartShowsInTheHighScores) {
    ASSERT_TRUE(SaveFastestGame());
    const std::string start = Centre("SPACE_START", 3, 257, 287);
    const std::string scores = Centre("SPACE_HISCORE", 3, 257, 332);
    const std::string back = Centre("SPACE_RETURN", 3, 500, 520);
    // Every letter shoots at the enemy that wears it; the misses cost less than the hits give.
    std::string script = "frames 2\nkey 2\nframes 2\nclick " + scores + "\nframes 2\nsnapshot " + Shot("empty.png") +
                         "\nclick " + back + "\nframes 2\nclick " + start + "\n";
    for (int i = 0; i < 3; ++i) script += "frames 60\ntype abcdefghijklmnopqrstuvwxyz\n";
    // The game ends inside these frames and the name box waits for the player.
    script += "frames " + std::to_string(kFramesToGameOver) + "\nsnapshot " + Shot("name.png") +
              "\nkey Backspace\nkey Backspace\ntype Ace\nkey Enter\nframes 2\nsnapshot " + Shot("over.png") + "\n";
    ASSERT_EQ(Play(script), 0) << Output();
    EXPECT_GT(Covered("name.png", "NAME_DLG_BG", 1, NameBox::kLeft, NameBox::kTop), 0.6) << Output();
    EXPECT_GT(Count("over.png", {300, 300, 460, 345}, 255), 100) << "GameOver in red\n" << Output();
    EXPECT_EQ(Count("empty.png", {250, 165, 550, 195}, kHiScoreGreen), 0) << "no scores yet";

    HiScore table;
    ASSERT_TRUE(table.LoadTable(kHiScoreFile)) << Output();
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.EntryAt(0).Name, u"Ace");
    EXPECT_GT(table.EntryAt(0).Score, 0);

    ASSERT_EQ(Play("frames 2\nkey 2\nframes 2\nclick " + scores + "\nframes 2\nsnapshot " + Shot("kept.png") + "\n"), 0)
        << Output();
    EXPECT_GT(Count("kept.png", {250, 165, 550, 195}, kHiScoreGreen), 20) << "the first row shows the entry";

    // The window closed while the box asks for the name: the name it shows is entered.
    script = "frames 2\nkey 2\nframes 2\nclick " + start + "\n";
    for (int i = 0; i < 3; ++i) script += "frames 60\ntype abcdefghijklmnopqrstuvwxyz\n";
    script += "frames " + std::to_string(kFramesToGameOver) + "\nkey Backspace\nkey Backspace\ntype Bo\nquit\n";
    ASSERT_EQ(Play(script), 0) << Output();
    ASSERT_TRUE(table.LoadTable(kHiScoreFile)) << Output();
    ASSERT_EQ(table.EntryCount(), 2);
    EXPECT_TRUE(table.EntryAt(0).Name == u"Bo" || table.EntryAt(1).Name == u"Bo");
}

}  // namespace
