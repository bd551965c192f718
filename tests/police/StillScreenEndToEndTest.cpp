// A still screen's frames are skipped; the program must end up exactly where drawing every frame
// takes it: the same pictures after a minute left alone, and the same race afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
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

// Menu with the pointer on a button, a minute alone; setting screen with a text chosen, a
// minute alone; then a race typed part-way. `prefix` goes first; `shots` names the snapshots.
std::string StillScript(const std::string& prefix, const fs::path& shots, const scripted::Choice& choice) {
    const std::string single = Centre("POLICE_MAINMENU_SINGLE", 3, 437, 336);
    const std::string half = choice.text.substr(0, choice.text.size() / 2);
    return prefix + "frames 3\nmove " + single + "\nwait 60000\nsnapshot " + (shots / "menu.png").string() +
           "\nclick " + single + "\nframes 2\nclick " + scripted::TextRow(choice.row) + "\nmove 5 5\nwait 60000\n" +
           "snapshot " + (shots / "setting.png").string() + "\nclick " + Centre("POLICE_START", 3, 210, 545) +
           "\nframes 2\ntype " + half + "\nframes 40\nsnapshot " + (shots / "race.png").string() + "\n";
}

TEST(StillScreenEndToEnd, AMinuteLeftAloneEndsWhereDrawingEveryFrameEnds) {
    ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
    ASSERT_TRUE(PackPicture("POLICE_MAINMENU_BG")) << "the picture pack is built by the assets target";
    const scripted::Choice choice = scripted::ChooseText(false);
    ASSERT_GE(choice.row, 0) << "no plain race text in the program folder";
    testsupport::TempDir temp("glyphor-still-e2e");
    const fs::path skipped = fs::path(temp.Path()) / "skipped";
    const fs::path drawn = fs::path(temp.Path()) / "drawn";
    fs::create_directories(skipped);
    fs::create_directories(drawn);

    const auto a = testsupport::PlayScript(kDist + "/glyphor_police", skipped, StillScript("", skipped, choice), {}, 7);
    const auto b =
        testsupport::PlayScript(kDist + "/glyphor_police", drawn, StillScript("everyframe\n", drawn, choice), {}, 7);
    ASSERT_EQ(a.status, 0) << a.output;
    ASSERT_EQ(b.status, 0) << b.output;
    EXPECT_EQ(a.output, b.output);
    for (const char* name : {"menu.png", "setting.png", "race.png"}) {
        const auto left = LoadSnapshot((skipped / name).string());
        const auto right = LoadSnapshot((drawn / name).string());
        ASSERT_TRUE(left && right) << name << "\n" << a.output;
        EXPECT_TRUE(SamePixels(*left, *right)) << name;
    }
    // The race really ran: the runners left the picture of the setting screen behind.
    const auto setting = LoadSnapshot((skipped / "setting.png").string());
    const auto race = LoadSnapshot((skipped / "race.png").string());
    EXPECT_FALSE(SamePixels(*setting, *race));
}

// The word games stand still before a round, while it is paused and at the space menu; a minute
// of each ends where drawing every frame does, and so do the rounds played after.
TEST(StillScreenEndToEnd, WordGamesLeftAloneEndWhereDrawingEveryFrameEnds) {
    testsupport::TempDir temp("glyphor-still-words");
    const std::string names[] = {"apple-idle", "apple-paused", "apple-on", "space-menu", "space-on"};
    const auto script = [&](const std::string& prefix, const fs::path& shots) {
        const auto shot = [&](const std::string& name) {
            return "snapshot " + (shots / (name + ".png")).string() + "\n";
        };
        return prefix + "frames 3\nkey 5\nframes 2\nwait 60000\n" + shot(names[0]) +
               "click 218 542\nframes 2\ntype abc\nframes 20\nclick 139 530\nwait 60000\n" + shot(names[1]) +
               "click 139 530\nframes 40\n" + shot(names[2]) + "click 60 557\nframes 2\nkey Enter\nframes 3\nkey 2\n" +
               "frames 2\nwait 60000\n" + shot(names[3]) + "click 400 308\nframes 40\ntype qwerty\nframes 40\n" +
               shot(names[4]);
    };
    std::vector<testsupport::ScriptedRun> runs;
    for (const char* kind : {"skipped", "drawn"}) {
        const fs::path shots = fs::path(temp.Path()) / kind;
        fs::create_directories(shots);
        runs.push_back(testsupport::PlayScript(kDist + "/glyphor_police", shots,
                                               script(std::string(kind) == "drawn" ? "everyframe\n" : "", shots),
                                               "--menu", 7));
        ASSERT_EQ(runs.back().status, 0) << runs.back().output;
    }
    EXPECT_EQ(runs[0].output, runs[1].output);
    for (const std::string& name : names) {
        const auto left = LoadSnapshot((fs::path(temp.Path()) / "skipped" / (name + ".png")).string());
        const auto right = LoadSnapshot((fs::path(temp.Path()) / "drawn" / (name + ".png")).string());
        ASSERT_TRUE(left && right) << name << "\n" << runs[0].output;
        EXPECT_TRUE(SamePixels(*left, *right)) << name;
    }
}

}  // namespace
