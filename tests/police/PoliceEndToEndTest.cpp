// The real program played through a script: start screen, single-player races to the result
// screens, and the quit question.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptedProgram.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using scripted::Centre;
using scripted::kDist;
using scripted::LoadSnapshot;
using scripted::PackPicture;
using scripted::SamePixels;
using scripted::SamePixelsOutside;

class PoliceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
        ASSERT_TRUE(PackPicture("POLICE_MAINMENU_BG")) << "the picture pack is built by the assets target";
        temp_ = std::make_unique<testsupport::TempDir>("glyphor-police-e2e");
        dir_ = temp_->Path();
    }
    void TearDown() override { temp_.reset(); }

    // Runs the program on `script`; returns its exit status.
    int Play(const std::string& script) {
        const auto run = testsupport::PlayScript(kDist + "/glyphor_police", dir_, script);
        output_ = run.output;
        return run.status;
    }

    std::string Snapshot(const std::string& name) const { return (dir_ / name).string(); }
    using Choice = scripted::Choice;
    static Choice ChooseText(bool longest) { return scripted::ChooseText(longest); }
    static std::string TextRow(int row) { return scripted::TextRow(row); }

    // From the start screen to the setting screen.
    static std::string ToSettingScreen() {
        return "frames 3\nclick " + Centre("POLICE_MAINMENU_SINGLE", 3, 437, 336) + "\nframes 2\n";
    }

    // From the start screen into a race: the role and vehicle buttons clicked, the text's row
    // chosen, Start pressed and the race's own text typed.
    static std::string TypeRace(const std::string& role, const std::string& vehicle, const Choice& choice) {
        return ToSettingScreen() + "click " + role + "\nclick " + vehicle + "\nclick " + TextRow(choice.row) +
               "\nclick " + Centre("POLICE_START", 3, 210, 545) + "\nframes 2\ntype " + choice.text + "\n";
    }

    std::unique_ptr<testsupport::TempDir> temp_;
    fs::path dir_;
    std::string output_;
};

TEST_F(PoliceEndToEnd, ThiefOnAMotorbikeTypesTheWholeTextAndWins) {
    const Choice choice = ChooseText(false);
    ASSERT_GE(choice.row, 0) << "no plain race text in the program folder";
    const std::string shot = Snapshot("won.png");
    const std::string script =
        TypeRace(Centre("POLICE_THIEF", 4, 295, 20), Centre("POLICE_BIKE", 4, 430, 220), choice) +
        "frames 2\nsnapshot " + Snapshot("typed.png") + "\nkey z\nframes 3\nsnapshot " + shot + "\n";
    EXPECT_EQ(Play(script), 0) << output_;

    // After the last character the race still runs; the next key wins it.
    const auto typed = LoadSnapshot(Snapshot("typed.png"));
    ASSERT_TRUE(typed) << output_;
    EXPECT_FALSE(SamePixels(*typed, *PackPicture("POLICE_WIN_1")));
    const auto won = LoadSnapshot(shot);
    ASSERT_TRUE(won) << output_;
    // The race's figures stand in the top left corner, clear of the picture's own texts.
    EXPECT_TRUE(SamePixelsOutside(*won, *PackPicture("POLICE_WIN_1"), 10, 10, 187, 81));
    EXPECT_FALSE(SamePixels(*won, *PackPicture("POLICE_WIN_1")));
}

TEST_F(PoliceEndToEnd, PoliceTypingFastCatchesTheThief) {
    const Choice choice = ChooseText(true);
    ASSERT_GE(choice.row, 0) << "no plain race text in the program folder";
    const std::string shot = Snapshot("caught.png");
    const std::string script = TypeRace(Centre("POLICE_POLICE", 4, 10, 20), Centre("POLICE_CAR", 4, 30, 220), choice) +
                               "frames 3\nsnapshot " + shot + "\n";
    EXPECT_EQ(Play(script), 0) << output_;
    const auto caught = LoadSnapshot(shot);
    ASSERT_TRUE(caught) << output_;
    EXPECT_TRUE(SamePixelsOutside(*caught, *PackPicture("POLICE_WIN_0"), 10, 10, 187, 81));
}

TEST_F(PoliceEndToEnd, QuitQuestionEscKeepsTheProgramEnterEndsIt) {
    const std::string exitButton = Centre("POLICE_MAINMENU_EXIT", 3, 437, 452);
    const std::string script =
        "frames 3\n"
        "click " +
        exitButton +
        "\n"
        "frames 3\n"
        "snapshot " +
        Snapshot("asked.png") +
        "\n"
        "key Esc\n"
        "frames 3\n"
        "snapshot " +
        Snapshot("kept.png") +
        "\n"
        "click " +
        exitButton +
        "\n"
        "frames 3\n"
        "key Enter\n"
        "frames 3\n"
        "snapshot " +
        Snapshot("after.png") + "\n";
    EXPECT_EQ(Play(script), 0) << output_;

    const auto asked = LoadSnapshot(Snapshot("asked.png"));
    const auto kept = LoadSnapshot(Snapshot("kept.png"));
    ASSERT_TRUE(asked && kept) << output_;
    const auto background = PackPicture("POLICE_MAINMENU_BG");
    const auto dialog = PackPicture("MAIN_DLG_BG");
    // The question stands over the start screen, and is gone after Esc.
    EXPECT_EQ(asked->ReadPixel(245, 217), dialog->ReadPixel(5, 5));
    EXPECT_EQ(kept->ReadPixel(245, 217), background->ReadPixel(245, 217));
    EXPECT_EQ(kept->ReadPixel(5, 5), background->ReadPixel(5, 5));
    // Enter ended the program before the last snapshot.
    EXPECT_FALSE(fs::exists(Snapshot("after.png")));
}

}  // namespace
