// The real program's word games show their state legibly: the apple and frog games a status
// line while a round runs, "暂停" over a paused apple or mole field, the space shooter its bonus
// word ringed against the night sky and the score at game over. Every one of these texts is
// measured against what lies right beside its letters in the snapshot: at least 4.5:1.
#include <gtest/gtest.h>

#include <string>

#include "platform/ProgramFolder.h"
#include "shell/Settings.h"
#include "tests/support/Contrast.h"
#include "tests/support/PackPictures.h"
#include "tests/support/PlayedProgram.h"

namespace {

using testsupport::Centre;
using testsupport::MeasureText;
using testsupport::PackPicture;

constexpr uint32_t kStatusText = 0x301010;
constexpr uint32_t kPausedText = 0x000090;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;

class FieldNotices : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PackPicture("APPLE_BACKGROUND")) << "the picture pack is built by the assets target";
        platform::SetProgramFolder(program_.Dir().string());
    }

    // A legible text of `bgr` in `region` of a snapshot.
    void ExpectLegible(const std::string& shot, const platform::Rect& region, uint32_t bgr, const char* what) {
        const auto image = program_.LoadShot(shot);
        ASSERT_TRUE(image) << what;
        const auto contrast = MeasureText(*image, region, bgr);
        EXPECT_GT(contrast.letterPixels, 30) << what;
        EXPECT_GE(contrast.ratio, 4.5) << what;
    }

    testsupport::PlayedProgram program_;
};

TEST_F(FieldNotices, AppleAndFrogShowTheirStatusAndPausedAppleAndMoleFieldsSaySo) {
    const std::string script =
        "frames 3\nkey 5\nframes 3\nclick " + Centre("PUBLIC_START", 4, 196, 524) + "\nframes 30\nsnapshot " +
        program_.Shot("apple.png") + "\nclick " + Centre("PUBLIC_PAUSE", 4, 117, 512) + "\nframes 3\nsnapshot " +
        program_.Shot("paused.png") + "\nkey Esc\n" +
        // Back to the menu through the exit question, then the frog game.
        "click " + Centre("PUBLIC_EXIT", 3, 15, 535) + "\nframes 2\nkey Enter\nframes 2\n" + "key 4\nframes 3\nclick " +
        Centre("FROG_START", 4, 193, 523) + "\nframes 30\nsnapshot " + program_.Shot("frog.png") +
        // Back again, then the moles: their paused field says so too.
        "\nclick " + Centre("FROG_EXIT", 3, 10, 530) + "\nframes 2\nkey Enter\nframes 2\nkey 3\nframes 3\nclick " +
        Centre("PUBLIC_START", 4, 485, 524) + "\nframes 30\nclick " + Centre("PUBLIC_PAUSE", 4, 406, 509) +
        "\nframes 3\nsnapshot " + program_.Shot("moles.png") + "\n";
    ASSERT_EQ(program_.Play(script, "--menu"), 0) << program_.Output();
    ExpectLegible("apple.png", {280, 540, 800, 600}, kStatusText, "apple status line");
    ExpectLegible("paused.png", {250, 170, 550, 290}, kPausedText, "暂停 over the apple field");
    EXPECT_EQ(program_.Count("apple.png", {250, 170, 550, 290}, kPausedText), 0) << "no 暂停 while playing";
    ExpectLegible("frog.png", {280, 550, 800, 600}, kStatusText, "frog status line");
    ExpectLegible("moles.png", {250, 190, 550, 310}, kPausedText, "暂停 over the mole field");
}

TEST_F(FieldNotices, TheSpaceShootersBonusWordAndFinalScoreAreLegible) {
    g_Settings = DefaultSettings();
    g_Settings.Field[kSpaceCount] = 15;
    g_Settings.Field[kSpaceSpeed] = 10;
    g_Settings.Field[kSpaceBonus] = -1;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    // The bonus word enters from the right after about 600 frames; fifteen fast enemies end the
    // game within 3,000.
    const std::string script = "frames 2\nkey 2\nframes 2\nclick " + Centre("SPACE_START", 3, 257, 287) +
                               "\nframes 700\nsnapshot " + program_.Shot("bonus.png") + "\nframes 2300\nsnapshot " +
                               program_.Shot("over.png") + "\n";
    ASSERT_EQ(program_.Play(script, "--menu", 23), 0) << program_.Output();
    ExpectLegible("bonus.png", {0, 190, 800, 235}, kBlue, "bonus word");
    ExpectLegible("over.png", {200, 240, 600, 285}, kGreen, "score at game over");
}

}  // namespace
