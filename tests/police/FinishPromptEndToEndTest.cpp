// The real program after the last character of a single-player race: the typing panel blinks
// between the line and what the next key does, in dark red ringed with white, legible over the
// panel; one more key ends the race. The thief's prompt is not the police's.
#include <gtest/gtest.h>

#include <string>

#include "ScriptedProgram.h"
#include "tests/support/Contrast.h"
#include "tests/support/PlayedProgram.h"

namespace {

using scripted::Centre;
using scripted::PackPicture;
using scripted::SamePixels;
using scripted::SamePixelsOutside;

constexpr uint32_t kPromptColor = 0x0000A0;
constexpr platform::Rect kPanel{23, 505, 777, 560};

class FinishPrompt : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(PackPicture("POLICE_SETTING_BG")) << "the pack is built by the assets target"; }

    // A race as `role` on `vehicle` of the text in `row`, typed whole; two snapshots 400 ms
    // apart, then one more key and the result.
    std::string Race(const std::string& role, const std::string& vehicle, const scripted::Choice& text) {
        return "frames 3\nclick " + Centre("POLICE_MAINMENU_SINGLE", 3, 437, 336) + "\nframes 2\nclick " + role +
               "\nclick " + vehicle + "\nclick " + scripted::TextRow(text.row) + "\nclick " +
               Centre("POLICE_START", 3, 210, 545) + "\nframes 2\ntype " + text.text + "\nframes 2\nsnapshot " +
               program_.Shot("a.png") + "\nframes 20\nsnapshot " + program_.Shot("b.png") +
               "\nkey z\nframes 3\nsnapshot " + program_.Shot("result.png") + "\n";
    }

    // The snapshot of the two that shows the prompt; the other must show none of it.
    platform::SurfacePtr PromptShot() {
        const int a = program_.Count("a.png", kPanel, kPromptColor);
        const int b = program_.Count("b.png", kPanel, kPromptColor);
        EXPECT_TRUE((a > 50 && b == 0) || (b > 50 && a == 0)) << "blinks: " << a << " / " << b;
        return program_.LoadShot(a > b ? "a.png" : "b.png");
    }

    testsupport::PlayedProgram program_;
};

TEST_F(FinishPrompt, TheThiefIsToldToPressAKeyAndThePoliceSeesItsOwnPrompt) {
    const scripted::Choice shortest = scripted::ChooseText(false);
    ASSERT_GE(shortest.row, 0);

    // The thief on the motorbike: the prompt, then one key wins.
    ASSERT_EQ(program_.Play(Race(Centre("POLICE_THIEF", 4, 295, 20), Centre("POLICE_BIKE", 4, 430, 220), shortest)), 0)
        << program_.Output();
    const auto thief = PromptShot();
    ASSERT_TRUE(thief);
    const auto contrast = testsupport::MeasureText(*thief, kPanel, kPromptColor);
    EXPECT_GT(contrast.letterPixels, 50);
    EXPECT_GE(contrast.ratio, 4.5);
    const auto won = program_.LoadShot("result.png");
    ASSERT_TRUE(won);
    // The result picture, but for the figures box at the top left.
    EXPECT_TRUE(SamePixelsOutside(*won, *PackPicture("POLICE_WIN_1"), 10, 10, 187, 81));

    // The police on the motorbike behind a thief in the car: its own prompt, and the key that
    // follows ends the race.
    const std::string slowPolice = Centre("POLICE_BIKE", 4, 150, 220) + "\nclick " + Centre("POLICE_CAR", 4, 320, 220);
    ASSERT_EQ(program_.Play(Race(Centre("POLICE_POLICE", 4, 10, 20), slowPolice, shortest)), 0) << program_.Output();
    const auto police = PromptShot();
    ASSERT_TRUE(police);
    int differing = 0;
    for (int32_t y = kPanel.top; y < kPanel.bottom; ++y) {
        for (int32_t x = kPanel.left; x < kPanel.right; ++x)
            differing += police->ReadPixel(x, y) != thief->ReadPixel(x, y);
    }
    EXPECT_GT(differing, 100) << "the two prompts read differently";
    const auto ended = program_.LoadShot("result.png");
    ASSERT_TRUE(ended);
    EXPECT_TRUE(SamePixelsOutside(*ended, *PackPicture("POLICE_LOST_0"), 10, 10, 187, 81) ||
                SamePixelsOutside(*ended, *PackPicture("POLICE_WIN_0"), 10, 10, 187, 81));
}

}  // namespace
