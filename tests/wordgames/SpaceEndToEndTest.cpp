// The real program played through a script from the main menu: key 2 opens the space shooter,
// a game starts, Esc keeps it behind the return button, the return button resumes it, the
// enemies wear the ship's energy down to game over, and Esc leads back to a menu that offers a
// new game. The difficulty kept at game over is read back from the settings file. A game that
// scores asks for a name at game over, and the name and score are in the table the next start
// shows.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "menu/Settings.h"
#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/Surface.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"
#include "widgets/NameBox.h"
#include "wordgames/HiScore.h"

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

class SpaceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("SPACE_MAINMENU_BG")) << "the picture pack is built by the assets target";
        dir_ = temp_.Path();
        fs::create_directories(dir_ / "Game");
        fs::copy_file(kDist + "/glyphor_police", dir_ / "glyphor_police");
        fs::create_symlink(kDist + "/Game/GameRes.DLL", dir_ / "Game" / "GameRes.DLL");
        fs::create_symlink(kDist + "/Game/GameSnd.DLL", dir_ / "Game" / "GameSnd.DLL");
        platform::SetProgramFolder(dir_.string());
    }

    int Play(const std::string& script) {
        const auto run = testsupport::PlayScript(dir_ / "glyphor_police", dir_, script, "--menu", 23);
        output_ = run.output;
        return run.status;
    }

    // Fifteen enemies at the top speed and no bonus word: a game that ends soon.
    static bool SaveFastestGame() {
        g_Settings = DefaultSettings();
        g_Settings.Field[kSpaceCount] = 15;
        g_Settings.Field[kSpaceSpeed] = 10;
        g_Settings.Field[kSpaceBonus] = 0;
        return SaveSettings(kSettingsFile);
    }

    std::string Shot(const std::string& name) const { return (dir_ / name).string(); }
    platform::SurfacePtr LoadShot(const std::string& name) {
        std::ifstream in(Shot(name), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto image = bytes.empty() ? nullptr : platform::LoadPng(bytes);
        if (!image) ADD_FAILURE() << "no snapshot " << name << "\n" << output_;
        return image;
    }
    // The share of frame `frame` of `picture` (a strip of `frames`) that the snapshot shows at
    // (x, y); transparent pixels count as shown.
    double Covered(const std::string& shot, const std::string& picture, int frames, int32_t x, int32_t y,
                   int frame = 0) {
        const auto image = LoadShot(shot);
        const auto strip = PackPicture(picture);
        if (!image || !strip) return 0;
        const int32_t w = strip->Width() / frames;
        int64_t same = 0;
        for (int32_t py = 0; py < strip->Height(); ++py) {
            for (int32_t px = 0; px < w; ++px) {
                const uint16_t p = strip->ReadPixel(frame * w + px, py);
                same += p == 0 || image->ReadPixel(x + px, y + py) == p ? 1 : 0;
            }
        }
        return static_cast<double>(same) / (static_cast<double>(w) * strip->Height());
    }
    int Count(const std::string& shot, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t bgr) {
        const auto image = LoadShot(shot);
        if (!image) return 0;
        const uint16_t pixel = platform::Surface::RawFromBgr(bgr);
        int n = 0;
        for (int32_t py = y; py < y + h; ++py) {
            for (int32_t px = x; px < x + w; ++px) n += image->ReadPixel(px, py) == pixel ? 1 : 0;
        }
        return n;
    }

    testsupport::TempDir temp_{"glyphor-space-e2e"};
    fs::path dir_;
    std::string output_;
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
    ASSERT_EQ(Play(script), 0) << output_;

    EXPECT_GT(Covered("menu.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.8);
    EXPECT_GT(Covered("menu.png", "SPACE_START", 3, 257, 287), 0.95);
    EXPECT_LT(Covered("play.png", "SPACE_MAINMENU_BG", 1, 0, 0), 0.5);
    for (const auto& [label, x] :
         {std::pair{"SPACE_LABEL_SCORE", 30}, {"SPACE_LABEL_LIFE", 234}, {"SPACE_LABEL_TIME", 530}}) {
        EXPECT_GT(Covered("play.png", label, 1, x, 20), 0.95) << label;
    }
    // The pointer rests where it clicked: the menu that comes back shows that button lit.
    EXPECT_GT(Covered("kept.png", "SPACE_RETURN", 3, 257, 287, 1), 0.95);
    EXPECT_GT(Count("over.png", 300, 300, 160, 45, 255), 100) << "GameOver in red\n" << output_;
    EXPECT_GT(Covered("again.png", "SPACE_START", 3, 257, 287, 1), 0.95);

    // Game over kept the difficulty reached; a game that scored nothing entered no name.
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Field[kSpaceSpeed], 10);
    EXPECT_EQ(g_Settings.Field[kSpaceCount], 15);
    EXPECT_FALSE(fs::exists(dir_ / "Game" / "space.hi"));
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
    ASSERT_EQ(Play(script), 0) << output_;
    EXPECT_GT(Covered("name.png", "NAME_DLG_BG", 1, NameBox::kLeft, NameBox::kTop), 0.6) << output_;
    EXPECT_GT(Count("over.png", 300, 300, 160, 45, 255), 100) << "GameOver in red\n" << output_;
    EXPECT_EQ(Count("empty.png", 250, 165, 300, 30, kHiScoreGreen), 0) << "no scores yet";

    HiScore table;
    ASSERT_TRUE(table.LoadTable(kHiScoreFile)) << output_;
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.EntryAt(0).Name, u"Ace");
    EXPECT_GT(table.EntryAt(0).Score, 0);

    ASSERT_EQ(Play("frames 2\nkey 2\nframes 2\nclick " + scores + "\nframes 2\nsnapshot " + Shot("kept.png") + "\n"), 0)
        << output_;
    EXPECT_GT(Count("kept.png", 250, 165, 300, 30, kHiScoreGreen), 20) << "the first row shows the entry";
}

}  // namespace
