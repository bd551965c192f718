// The real program's status messages, in their pale green on a dark panel, legible and clear of
// every button and list: a host alone who presses start is told that one player cannot race, and
// a join without a chosen session in the lobby is refused.
#include <gtest/gtest.h>

#include <string>

#include "ScriptedProgram.h"
#include "tests/support/Contrast.h"
#include "tests/support/PlayedProgram.h"

namespace {

using scripted::Centre;
using scripted::PackPicture;

constexpr uint32_t kStatusColor = 0xCCBB;

TEST(StatusText, TheLobbyAndAHostAloneAreToldLegiblyWhereNoButtonOrListIsCovered) {
    ASSERT_TRUE(PackPicture("POLICE_SETTING_BG")) << "the pack is built by the assets target";
    testsupport::PlayedProgram program;
    const std::string script = "frames 3\nclick " + Centre("POLICE_MAINMENU_MULTI", 3, 437, 394) +
                               "\nframes 3\nclick " + Centre("POLICE_JOIN", 3, 30, 100) + "\nframes 3\nsnapshot " +
                               program.Shot("lobby.png") + "\nclick " + Centre("POLICE_CREATE", 3, 30, 50) +
                               "\nframes 5\nclick " + Centre("POLICE_START", 3, 210, 545) + "\nframes 3\nsnapshot " +
                               program.Shot("alone.png") + "\nkey Esc\nframes 2\n";
    program.Play(script);
    const auto shot = program.LoadShot("alone.png");
    ASSERT_TRUE(shot) << program.Output();
    const auto contrast = testsupport::MeasureText(*shot, {0, 0, 800, 600}, kStatusColor);
    EXPECT_GT(contrast.letterPixels, 100) << program.Output();
    EXPECT_GE(contrast.ratio, 4.5);
    // Role cards, vehicle trays, start and cancel, and the text list keep clear of it.
    for (const platform::Rect& covered : {platform::Rect{4, 8, 568, 214}, platform::Rect{18, 213, 545, 336},
                                          platform::Rect{196, 538, 426, 592}, platform::Rect{573, 40, 790, 566}}) {
        EXPECT_EQ(program.Count("alone.png", covered, kStatusColor), 0)
            << covered.left << "," << covered.top << " " << covered.right << "," << covered.bottom;
    }

    const auto lobby = program.LoadShot("lobby.png");
    ASSERT_TRUE(lobby);
    const auto refused = testsupport::MeasureText(*lobby, {0, 0, 800, 600}, kStatusColor);
    EXPECT_GT(refused.letterPixels, 50);
    EXPECT_GE(refused.ratio, 4.5);
    // The button panel and the session table keep clear of it.
    for (const platform::Rect& covered : {platform::Rect{8, 36, 182, 258}, platform::Rect{186, 100, 795, 582}}) {
        EXPECT_EQ(program.Count("lobby.png", covered, kStatusColor), 0) << covered.left << "," << covered.top;
    }
}

}  // namespace
