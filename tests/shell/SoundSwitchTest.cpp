// The sound switch in the real program: Ctrl+M over a dialog types no letter, Ctrl+M during an
// apple round silences the mixer's output while the music plays on and brings it back, the
// choice left at the end is remembered by the next start, whose menu shows the speaker struck
// through until a click on it switches the sound on again.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/PlayerFiles.h"
#include "platform/ProgramFolder.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;
const std::string kCtrlM = "keydown ctrl\nkey m\nkeyup ctrl\n";
constexpr int kSpeakerLeft = 10;
constexpr int kSpeakerTop = 10;

struct Status {
    bool on = false;
    long peak = -1;
    std::string playing;
};

// The lines the verb "sound" printed, in order.
std::vector<Status> StatusLines(const std::string& output) {
    std::vector<Status> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        char state[4] = {};
        long peak = -1;
        int consumed = 0;
        if (std::sscanf(line.c_str(), "sound: %3[a-z], output peak %ld, playing:%n", state, &peak, &consumed) != 2 ||
            consumed == 0)
            continue;
        lines.push_back({std::string(state) == "on", peak, line.substr(static_cast<size_t>(consumed))});
    }
    return lines;
}

// Whether the snapshot shows frame 0 of the speaker picture: every pixel the picture draws.
bool ShowsSpeaker(const std::string& shot, const std::string& picture) {
    std::ifstream in(shot, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto image = bytes.empty() ? nullptr : platform::LoadPng(bytes);
    const auto strip = testsupport::PackPicture(picture);
    if (!image || !strip) return false;
    for (int32_t y = 0; y < strip->Height(); ++y)
        for (int32_t x = 0; x < strip->Width() / 3; ++x)
            if (strip->ReadPixel(x, y) != 0 &&
                image->ReadPixel(kSpeakerLeft + x, kSpeakerTop + y) != strip->ReadPixel(x, y))
                return false;
    return true;
}

class SoundSwitchEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(testsupport::PackPicture("MAIN_SOUND_OFF")) << "the picture pack is built by the assets target";
        // A program folder and a configuration folder of its own, so the kept choice is this test's.
        fs::create_directories(dir_ / "Game");
        fs::create_directories(dir_ / "config");
        fs::copy_file(kDist + "/glyphor_police", dir_ / "glyphor_police");
        fs::create_symlink(kDist + "/Game/GameRes.DLL", dir_ / "Game" / "GameRes.DLL");
        fs::create_symlink(kDist + "/Game/GameSnd.DLL", dir_ / "Game" / "GameSnd.DLL");
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfigHome_ = old;
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        platform::SetProgramFolder(dir_.string());
        choiceFile_ = platform::PlayerConfigFolder() + "sound.ini";
    }

    void TearDown() override {
        if (oldConfigHome_) {
            setenv("XDG_CONFIG_HOME", oldConfigHome_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    std::string Play(const std::string& script) {
        const auto run = testsupport::PlayScript(dir_ / "glyphor_police", dir_, script, "--menu", 17);
        EXPECT_EQ(run.status, 0) << run.output;
        return run.output;
    }
    std::string Shot(const std::string& name) const { return (dir_ / name).string(); }
    std::string KeptChoice() const { return testsupport::TempDir::ReadFile(choiceFile_); }

    testsupport::TempDir temp_{"glyphor-sound-e2e"};
    fs::path dir_ = temp_.Path();
    std::string choiceFile_;
    std::optional<std::string> oldConfigHome_;
};

TEST_F(SoundSwitchEndToEnd, CtrlMSilencesAndRestoresTheOutputAndTheNextStartRemembersIt) {
    // The status after a switch waits one line, so no output mixed before the switch counts.
    const std::string settle = "frames 10\nsound\nframes 25\nsound\n";
    std::string script = "frames 2\nsnapshot " + Shot("on.png") + "\n";
    // The name box starts with "英雄" selected: the first letter typed replaces it.
    script += "open namebox\ntype ab\n" + kCtrlM + "type c\nkey Enter\nframes 1\nsound\n" + kCtrlM;
    script += "click " + testsupport::Centre("MAIN_APPLE", 3, 62, 450) + "\nframes 3\n";
    script += "click " + testsupport::Centre("PUBLIC_START", 4, 196, 524) + "\nframes 2\n";
    script += "realtime\nframes 25\nsound\nframes 25\nsound\n";
    script += kCtrlM + settle + kCtrlM + settle + kCtrlM + "frames 2\n";
    const std::string first = Play(script);

    EXPECT_NE(first.find("namebox: ok [abc]"), std::string::npos) << "Ctrl+M typed a letter:\n" << first;
    const auto lines = StatusLines(first);
    ASSERT_EQ(lines.size(), 7U) << first;
    EXPECT_FALSE(lines[0].on) << "Ctrl+M over the name box";
    EXPECT_TRUE(lines[2].on);
    EXPECT_GT(lines[2].peak, 100) << "the music is heard";
    EXPECT_FALSE(lines[4].on);
    EXPECT_EQ(lines[4].peak, 0) << "muted, the mixer sends out silence";
    EXPECT_TRUE(lines[6].on);
    EXPECT_GT(lines[6].peak, 100) << "the music is heard again";
    for (size_t i : {2, 4, 6}) EXPECT_NE(lines[i].playing.find("APPLE_BG"), std::string::npos) << i;
    EXPECT_EQ(KeptChoice(), "muted=1\n");
    EXPECT_TRUE(ShowsSpeaker(Shot("on.png"), "MAIN_SOUND_ON"));

    std::string again = "frames 2\nsound\nsnapshot " + Shot("off.png") + "\n";
    again += "click " + std::to_string(kSpeakerLeft + 22) + " " + std::to_string(kSpeakerTop + 22);
    again += "\nframes 2\nsound\n";
    const auto second = StatusLines(Play(again));
    ASSERT_EQ(second.size(), 2U);
    EXPECT_FALSE(second[0].on) << "the next start remembers the choice";
    EXPECT_TRUE(ShowsSpeaker(Shot("off.png"), "MAIN_SOUND_OFF"));
    EXPECT_TRUE(second[1].on) << "the speaker button switches the sound back on";
    EXPECT_EQ(KeptChoice(), "muted=0\n");

    // A choice that cannot be kept still switches the sound, and the player is told once.
    fs::permissions(choiceFile_, fs::perms::owner_read);
    const std::string refused = Play("frames 2\n" + kCtrlM + "frames 2\nsound\n" + kCtrlM + "frames 2\nsound\n");
    fs::permissions(choiceFile_, fs::perms::owner_read | fs::perms::owner_write);
    const auto third = StatusLines(refused);
    ASSERT_EQ(third.size(), 2U) << refused;
    EXPECT_FALSE(third[0].on);
    EXPECT_TRUE(third[1].on);
    const std::string told = "设置无法保存：" + choiceFile_;
    ASSERT_NE(refused.find(told), std::string::npos) << refused;
    EXPECT_EQ(refused.find(told, refused.find(told) + 1), std::string::npos) << "told once a run:\n" << refused;
    EXPECT_EQ(KeptChoice(), "muted=0\n");
}

}  // namespace
