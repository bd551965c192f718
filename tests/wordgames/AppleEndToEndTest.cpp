// The real program started at the main menu and played through a script: the apple game reached
// from the menu, one round passed and one lost, each ending in its dialog, and the raised level
// found in the settings file afterwards. Each run gets a program folder of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::Centre;
using testsupport::PackPicture;

void PutInt(std::string& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

class AppleEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("APPLE_BACKGROUND")) << "the picture pack is built by the assets target";
        // A program folder of its own, so the settings file the run writes is this test's.
        const fs::path root = temp_.Path();
        program_ = root / "program";
        fs::create_directories(program_ / "Game");
        fs::copy_file(kDist + "/glyphor_police", program_ / "glyphor_police");
        for (const char* pack : {"GameRes.DLL", "GameSnd.DLL"}) {
            fs::copy_file(kDist + "/Game/" + pack, program_ / "Game" / pack);
        }
        fs::copy(kDist + "/Data", program_ / "Data", fs::copy_options::recursive);
    }

    // Runs the program with `args` on `script`; returns its exit status.
    int Play(const std::string& args, const std::string& script) {
        const auto run = testsupport::PlayScript(program_ / "glyphor_police", temp_.Path(), script, args, 7);
        output_ = run.output;
        return run.status;
    }

    void WriteSettings(int32_t level, int32_t pass, int32_t fail) {
        std::string bytes(2, '\0');
        for (int32_t v : {level, pass, fail, 0, 3, 1, 1, 6, 3, 3, 1}) PutInt(bytes, v);
        std::ofstream(program_ / "Game" / "Setting.DAT", std::ios::binary) << bytes;
    }
    int32_t SavedField(int field) const {
        std::ifstream in(program_ / "Game" / "Setting.DAT", std::ios::binary);
        const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t at = 2 + 4 * static_cast<size_t>(field - 1);
        if (b.size() < at + 4) return -1;
        return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                    (static_cast<uint32_t>(b[at + 3]) << 24));
    }

    std::string Shot(const std::string& name) const { return temp_.File(name); }
    static platform::SurfacePtr LoadShot(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return bytes.empty() ? nullptr : platform::LoadPng(bytes);
    }

    testsupport::TempDir temp_{"glyphor-apple-e2e"};
    fs::path program_;
    std::string output_;
};

TEST_F(AppleEndToEnd, FromTheMenuOneRoundPassedOneLostAndTheLevelSaved) {
    WriteSettings(0, 100, 5);
    std::string script = "frames 3\nsnapshot " + Shot("menu.png") + "\n";
    script += "click " + Centre("MAIN_APPLE", 3, 62, 450) + "\nframes 3\nsnapshot " + Shot("apple.png") + "\n";
    script += "click " + Centre("PUBLIC_START", 4, 196, 524) + "\nframes 2\n";
    // Every letter in turn: each falling apple is caught before it can reach the ground.
    for (int i = 0; i < 25; ++i) script += "type abcdefghijklmnopqrstuvwxyz\n";
    script += "frames 3\nsnapshot " + Shot("passed.png") + "\n";
    script += "key Space\n";  // next level
    // Nothing typed: five apples reach the ground.
    script += "frames 900\nsnapshot " + Shot("lost.png") + "\n";
    script += "key Esc\nframes 3\nsnapshot " + Shot("ended.png") + "\n";
    ASSERT_EQ(Play("--menu", script), 0) << output_;

    const auto menu = LoadShot(Shot("menu.png"));
    const auto apple = LoadShot(Shot("apple.png"));
    const auto passed = LoadShot(Shot("passed.png"));
    const auto lost = LoadShot(Shot("lost.png"));
    const auto ended = LoadShot(Shot("ended.png"));
    ASSERT_TRUE(menu && apple && passed && lost && ended) << output_;
    const auto none = PackPicture("MAIN_NONE");
    const auto background = PackPicture("APPLE_BACKGROUND");
    const auto dialog = PackPicture("APPLE_DLG_BG");
    const auto next = PackPicture("APPLE_DLG_NEXT");
    EXPECT_EQ(menu->ReadPixel(700, 100), none->ReadPixel(700, 100));
    EXPECT_EQ(apple->ReadPixel(400, 300), background->ReadPixel(400, 300));
    EXPECT_EQ(ended->ReadPixel(400, 300), background->ReadPixel(400, 300));

    // Both dialogs stand at (240, 212); only the passed one offers the next level.
    const int32_t nextX = next->Width() / 6, nextY = next->Height() / 2;
    EXPECT_EQ(passed->ReadPixel(245, 217), dialog->ReadPixel(5, 5));
    EXPECT_EQ(lost->ReadPixel(245, 217), dialog->ReadPixel(5, 5));
    EXPECT_EQ(passed->ReadPixel(240 + 124 + nextX, 212 + 130 + nextY), next->ReadPixel(nextX, nextY));
    EXPECT_EQ(lost->ReadPixel(240 + 124 + nextX, 212 + 130 + nextY), dialog->ReadPixel(124 + nextX, 130 + nextY));

    EXPECT_EQ(SavedField(1), 1) << "the level went up by one";
    EXPECT_EQ(SavedField(2), 100);
    EXPECT_EQ(SavedField(3), 5);
}

TEST_F(AppleEndToEnd, UnknownOptionsGetTheUsageAndStatusTwo) {
    EXPECT_EQ(Play("--bogus", "quit\n"), 2);
    EXPECT_NE(output_.find("usage:"), std::string::npos) << output_;
    EXPECT_NE(output_.find("--menu"), std::string::npos);
    EXPECT_EQ(std::count(output_.begin(), output_.end(), '\n'), 1) << output_;
}

}  // namespace
