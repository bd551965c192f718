// The real program played through scripts from the main menu: a lost and a passed mole round, a
// passed frog round, each up to its round-end dialog, and the level the next round was played at
// read back from the settings file.
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
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "shell/Settings.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::Centre;
using testsupport::PackPicture;

// The share of `picture`'s pixels that `shot` shows at (x, y).
double Covered(const platform::Surface& shot, const platform::Surface& picture, int32_t x, int32_t y) {
    int64_t same = 0;
    for (int32_t py = 0; py < picture.Height(); ++py) {
        for (int32_t px = 0; px < picture.Width(); ++px) {
            same += shot.ReadPixel(x + px, y + py) == picture.ReadPixel(px, py) ? 1 : 0;
        }
    }
    return static_cast<double>(same) / (static_cast<double>(picture.Width()) * picture.Height());
}

// The round-end dialog's next button (it stands at the dialog's left + 124, top + 130).
std::string NextButton(const std::string& picture) { return Centre(picture, 3, 240 + 124, 212 + 130); }

class MoleFrogEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("MOLE_DLG_BG")) << "the picture pack is built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-molefrog-e2e");
        dir_ = temp_->Path();
        // A program folder of its own, so the settings file and the course are this test's.
        fs::create_directories(dir_ / "Game");
        fs::copy_file(kDist + "/glyphor_police", dir_ / "glyphor_police");
        fs::create_symlink(kDist + "/Game/GameRes.DLL", dir_ / "Game" / "GameRes.DLL");
        fs::create_symlink(kDist + "/Game/GameSnd.DLL", dir_ / "Game" / "GameSnd.DLL");
        platform::SetProgramFolder(dir_.string());
        g_Settings = DefaultSettings();
    }
    void TearDown() override { temp_.reset(); }

    void SaveSettingsFile() { ASSERT_TRUE(SaveSettings(kSettingsFile)); }
    SettingsRecord ReadSettingsFile() {
        EXPECT_TRUE(LoadSettings(kSettingsFile));
        return g_Settings;
    }

    int Play(const std::string& script) {
        const auto run = testsupport::PlayScript(dir_ / "glyphor_police", dir_, script, "--menu", 17);
        output_ = run.output;
        return run.status;
    }

    std::string Shot(const std::string& name) const { return (dir_ / name).string(); }
    static platform::SurfacePtr LoadShot(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return bytes.empty() ? nullptr : platform::LoadPng(bytes);
    }
    // Whether the snapshot shows most of `picture` at (x, y) (text and buttons cover the rest).
    bool Shows(const std::string& shot, const std::string& picture, int32_t x, int32_t y) {
        const auto image = LoadShot(Shot(shot));
        const auto expected = PackPicture(picture);
        if (!image || !expected) {
            ADD_FAILURE() << "no snapshot " << shot << "\n" << output_;
            return false;
        }
        return Covered(*image, *expected, x, y) > 0.6;
    }

    std::unique_ptr<testsupport::TempDir> temp_;
    fs::path dir_;
    std::string output_;
    int runs_ = 0;
};

const std::string kMoleStart = Centre("PUBLIC_START", 4, 485, 524);

TEST_F(MoleFrogEndToEnd, MoleRoundLostFromTheMenuThenTheExitButtonGoesBackToTheMenu) {
    g_Settings.Field[kMoleTime] = 30;
    g_Settings.Field[kMoleInterval] = 0;
    g_Settings.Field[kMoleStay] = 1;
    SaveSettingsFile();
    const std::string script = "frames 2\nsnapshot " + Shot("menu.png") +
                               "\nkey 3\nframes 2\n"
                               "click " +
                               kMoleStart +
                               "\nframes 400\n"
                               "snapshot " +
                               Shot("lost.png") + "\nkey Esc\nframes 2\nclick " + Centre("PUBLIC_EXIT", 3, 30, 525) +
                               "\nframes 2\nkey Enter\nframes 2\nsnapshot " + Shot("back.png") + "\n";
    EXPECT_EQ(Play(script), 0) << output_;
    EXPECT_TRUE(Shows("menu.png", "MAIN_NONE", 0, 0));
    EXPECT_TRUE(Shows("lost.png", "MOLE_DLG_BG", 240, 212));
    EXPECT_TRUE(Shows("back.png", "MAIN_NONE", 0, 0));
    const SettingsRecord after = ReadSettingsFile();
    EXPECT_EQ(after.Field[kMoleInterval], 0);
    EXPECT_EQ(after.Field[kMoleStay], 1);
}

TEST_F(MoleFrogEndToEnd, MoleRoundSurvivedForAMinutePassesAndNextShortensTheInterval) {
    g_Settings.Field[kMoleTime] = 1;
    g_Settings.Field[kMoleInterval] = 10;
    g_Settings.Field[kMoleStay] = 20;
    SaveSettingsFile();
    // Moles waiting ten seconds and staying twenty take fewer than six radishes in a minute.
    const std::string script = "frames 2\nkey 3\nframes 2\nclick " + kMoleStart + "\nframes 3010\nsnapshot " +
                               Shot("passed.png") + "\nclick " + NextButton("MOLE_DLG_NEXT") + "\nframes 2\nsnapshot " +
                               Shot("next.png") + "\n";
    EXPECT_EQ(Play(script), 0) << output_;
    EXPECT_TRUE(Shows("passed.png", "MOLE_DLG_BG", 240, 212));
    EXPECT_FALSE(Shows("next.png", "MOLE_DLG_BG", 240, 212));
    EXPECT_EQ(ReadSettingsFile().Field[kMoleInterval], 9);
}

TEST_F(MoleFrogEndToEnd, FrogCrossesFiveTimesOnAShortCourseAndNextRaisesTheLevel) {
    // A course file far shorter than the course's word count: most slots are empty, and every
    // word is a doubled letter, so typing each doubled letter in turn crosses the river.
    const fs::path course = dir_ / "Data" / "English" / "T_WORD" / "Dictionary";
    fs::create_directories(course);
    std::ofstream out(course / "Grade.ID", std::ios::binary);
    std::string keys;
    for (char c = 'a'; c <= 'z'; ++c) {
        const char record[] = {0, 0, 0, 0, 2, 0, c, c, 0, 0, 0, 0};
        out.write(record, sizeof record);
        keys += std::string(2, c);
    }
    out.close();
    g_Settings.Field[kFrogCourse] = 0;
    g_Settings.Field[kFrogLevel] = 0;
    SaveSettingsFile();
    std::string script = "frames 2\nkey 4\nframes 2\nclick " + Centre("FROG_START", 4, 193, 523) + "\nframes 2\n";
    for (int pass = 0; pass < 20; ++pass) script += "type " + keys + "\n";
    script += "frames 2\nsnapshot " + Shot("passed.png") + "\nclick " + NextButton("FROG_DLG_NEXT") +
              "\nframes 2\nsnapshot " + Shot("next.png") + "\n";
    EXPECT_EQ(Play(script), 0) << output_;
    EXPECT_TRUE(Shows("passed.png", "FROG_DLG_BG", 240, 212));
    EXPECT_FALSE(Shows("next.png", "FROG_DLG_BG", 240, 212));
    EXPECT_EQ(ReadSettingsFile().Field[kFrogLevel], 1);
}

}  // namespace
