// The real program opens each settings page and the quit question through a script and takes
// a snapshot of each; the snapshots stay in <build>/widgets-snapshots for a look. Every page keeps
// its buttons inside the dialog and its values clear of the sliders' knobs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "shell/NameBox.h"
#include "shell/Settings.h"
#include "tests/support/PackPictures.h"
#include "tests/support/PlayedProgram.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::LoadPngFile;
using testsupport::PackPicture;

// How many pixels of `picture` show unchanged at (x, y) of `shot`, in a grid of samples.
double Match(const platform::Surface& shot, const platform::Surface& picture, int32_t x, int32_t y) {
    int same = 0, total = 0;
    for (int32_t py = 2; py < picture.Height(); py += 7) {
        for (int32_t px = 2; px < picture.Width(); px += 7) {
            ++total;
            if (shot.ReadPixel(x + px, y + py) == picture.ReadPixel(px, py)) ++same;
        }
    }
    return total ? static_cast<double>(same) / total : 0.0;
}

// Pixels of the rectangle (x1, y1)-(x2, y2) of `shot` that differ from `picture` drawn at (x, y).
int Changed(const platform::Surface& shot, const platform::Surface& picture, int32_t x, int32_t y, int32_t x1,
            int32_t y1, int32_t x2, int32_t y2) {
    int changed = 0;
    for (int32_t py = y1; py < y2; ++py) {
        for (int32_t px = x1; px < x2; ++px) {
            if (shot.ReadPixel(px, py) != picture.ReadPixel(px - x, py - y)) ++changed;
        }
    }
    return changed;
}

// Columns of the edit field that are black from the top of the caret to its bottom.
std::vector<int32_t> CaretColumns(const platform::Surface& shot) {
    std::vector<int32_t> columns;
    for (int32_t x = NameBox::kFieldLeft + 1; x < NameBox::kFieldRight - 1; ++x) {
        bool full = true;
        for (int32_t y = NameBox::kFieldTop + 5; y < NameBox::kFieldBottom - 5 && full; ++y) {
            full = shot.ReadPixel(x, y) == 0;
        }
        if (full) columns.push_back(x);
    }
    return columns;
}

// Where the knob picture stands on the slider whose top is at `y`, near the track's right end
// (the dialog at x 173, the track ending 400 right of it); -1 when it is not there.
int32_t KnobLeft(const platform::Surface& shot, const platform::Surface& knob, int32_t y) {
    for (int32_t x = 173 + 380; x < 173 + 410; ++x) {
        int same = 0;
        for (int32_t ky = 0; ky < knob.Height(); ++ky) {
            for (int32_t kx = 0; kx < 11; ++kx) {
                const uint16_t p = knob.ReadPixel(kx, ky);
                same += p != 0 && shot.ReadPixel(x + kx, y + ky) == p ? 1 : 0;
            }
        }
        if (same > 11 * knob.Height() / 2) return x;
    }
    return -1;
}

// Runs the real program on `script`; its output.
std::string RunScript(const fs::path& work, const std::string& script) {
    const auto run = testsupport::PlayScript(kDist + "/glyphor_police", work, script);
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
}

TEST(DialogSnapshots, ScriptTypesANameIntoTheNameBox) {
    ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
    auto background = PackPicture("NAME_DLG_BG");
    ASSERT_TRUE(background) << "the picture pack is built by the assets target";
    const fs::path dir = fs::path(kDist).parent_path() / "widgets-snapshots";
    fs::create_directories(dir);
    const testsupport::TempDir temp("glyphor-namebox-shots");
    const std::string first = (dir / "namebox-default.png").string();
    const std::string typed = (dir / "namebox-typed.png").string();
    const std::string blinked = (dir / "namebox-caret-off.png").string();
    const std::string output =
        RunScript(temp.Path(), std::string("frames 3\nopen namebox\nframes 3\nsnapshot ") + first +
                                   "\ntype ab\nkey Backspace\ntype 高分英雄好汉子孙\nframes 2\nsnapshot " + typed +
                                   "\nwait 600\nsnapshot " + blinked +
                                   "\nkey Enter\nframes 2\nopen namebox\ntype x\nkey Esc\nframes 2\n");
    // The first key replaced the default name; eight characters at most: the last one typed was
    // refused.
    EXPECT_NE(output.find("namebox: ok [a高分英雄好汉子]"), std::string::npos) << output;
    EXPECT_NE(output.find("namebox: cancel"), std::string::npos) << output;

    auto shotFirst = LoadPngFile(first);
    auto shotTyped = LoadPngFile(typed);
    auto shotBlinked = LoadPngFile(blinked);
    ASSERT_TRUE(shotFirst && shotTyped && shotBlinked) << output;
    const int32_t x = NameBox::kLeft, y = NameBox::kTop;
    EXPECT_GT(Match(*shotFirst, *background, x, y), 0.6);
    // The title on its ribbon and the prompt below it are drawn over the picture.
    EXPECT_GT(Changed(*shotFirst, *background, x, y, x + 70, y + 14, x + 270, y + 42), 30);
    EXPECT_GT(Changed(*shotFirst, *background, x, y, NameBox::kPromptX, NameBox::kPromptY, NameBox::kPromptX + 120,
                      NameBox::kPromptY + 16),
              30);
    // The field shows the text with the caret right after it; the caret blinks off, and longer
    // text moves it on.
    auto field = [&](const platform::Surface& shot, uint16_t pixel) {
        int n = 0;
        for (int32_t py = NameBox::kFieldTop + 1; py < NameBox::kFieldBottom - 1; ++py) {
            for (int32_t px = NameBox::kFieldLeft + 1; px < NameBox::kFieldRight - 1; ++px)
                n += shot.ReadPixel(px, py) == pixel;
        }
        return n;
    };
    const uint16_t selection = platform::Surface::RawFromBgr(NameBox::kSelectionColor);
    const auto caretFirst = CaretColumns(*shotFirst);
    const auto caretTyped = CaretColumns(*shotTyped);
    ASSERT_FALSE(caretFirst.empty());
    ASSERT_FALSE(caretTyped.empty());
    EXPECT_GT(caretFirst.front(), NameBox::kFieldLeft + 20);  // after the two characters of the default
    EXPECT_GT(caretTyped.front(), caretFirst.front() + 60);
    EXPECT_TRUE(CaretColumns(*shotBlinked).empty());
    // The default name stands selected; typed text is black on white.
    EXPECT_GT(field(*shotFirst, selection), 200);
    EXPECT_EQ(field(*shotTyped, selection), 0);
    EXPECT_GT(field(*shotTyped, 0), 2 * static_cast<int>(caretTyped.size()) * 10 + 100);
}

TEST(DialogSnapshots, ScriptOpensEverySettingsPageAndTheQuitQuestion) {
    ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
    ASSERT_TRUE(PackPicture("APPLE_SETUP")) << "the picture pack is built by the assets target";
    const fs::path dir = fs::path(kDist).parent_path() / "widgets-snapshots";
    fs::create_directories(dir);
    const testsupport::TempDir temp("glyphor-dialog-shots");
    const fs::path work = temp.Path();

    std::string script = "frames 3\n";
    for (int page = 1; page <= 4; ++page) {
        script += "open setup " + std::to_string(page) + "\nframes 3\n";
        if (page == 2) script += "click 443 253\nmove 443 308\nframes 2\n";  // the course list opened
        script += "snapshot " + (dir / ("setup" + std::to_string(page) + ".png")).string() + "\nkey Esc\nframes 2\n";
    }
    script += "open msgdlg\nframes 3\nsnapshot " + (dir / "msgdlg.png").string() + "\nkey Esc\nframes 2\n";
    const auto run = testsupport::PlayScript(kDist + "/glyphor_police", work, script);
    const std::string& output = run.output;
    ASSERT_NE(run.status, -1) << output;

    const char* backgrounds[] = {"APPLE_SETUP", "FROG_SETUP", "MOLE_SETUP", "APPLE_SETUP"};
    for (int page = 1; page <= 4; ++page) {
        auto shot = LoadPngFile((dir / ("setup" + std::to_string(page) + ".png")).string());
        ASSERT_TRUE(shot) << "page " << page << "\n" << output;
        auto background = PackPicture(backgrounds[page - 1]);
        ASSERT_TRUE(background);
        // The background shows at (173, 143) under the labels, sliders and buttons.
        EXPECT_GT(Match(*shot, *background, 173, 143), 0.6) << "page " << page;
        EXPECT_LT(Match(*shot, *background, 173, 143), 1.0) << "page " << page;
    }
    auto shot = LoadPngFile((dir / "msgdlg.png").string());
    ASSERT_TRUE(shot);
    auto background = PackPicture("MAIN_DLG_BG");
    ASSERT_TRUE(background);
    EXPECT_GT(Match(*shot, *background, 240, 212), 0.6);
    auto exitButton = PackPicture("MAIN_DLG_EXIT");
    ASSERT_TRUE(exitButton);
    EXPECT_EQ(shot->ReadPixel(240 + 34 + exitButton->Width() / 6, 212 + 130 + exitButton->Height() / 2),
              exitButton->ReadPixel(exitButton->Width() / 6, exitButton->Height() / 2));
}

TEST(DialogSnapshots, EverySettingsPageKeepsItsButtonsInsideAndItsValuesClearOfTheKnobsAtTheirMaximum) {
    ASSERT_TRUE(PackPicture("SLIDER_SLIDER")) << "the picture pack is built by the assets target";
    testsupport::PlayedProgram program;
    platform::SetProgramFolder(program.Dir().string());
    g_Settings = DefaultSettings();
    const std::pair<int, int32_t> maxima[] = {{kAppleLevel, 9}, {kApplePass, 900}, {kAppleFail, 50},
                                              {kFrogLevel, 9},  {kMoleTime, 30},   {kMoleInterval, 10},
                                              {kMoleStay, 20},  {kSpaceCount, 15}, {kSpaceSpeed, 10}};
    for (const auto& [field, top] : maxima) g_Settings.Field[static_cast<size_t>(field)] = top;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    std::string script = "frames 3\nsnapshot " + program.Shot("menu.png") + "\n";
    for (int page = 1; page <= 4; ++page) {
        script += "open setup " + std::to_string(page) + "\nframes 3\nsnapshot " +
                  program.Shot("page" + std::to_string(page) + ".png") + "\nkey Esc\nframes 2\n";
    }
    ASSERT_EQ(program.Play(script), 0) << program.Output();

    const auto menu = program.LoadShot("menu.png");
    const auto knob = PackPicture("SLIDER_SLIDER");
    ASSERT_TRUE(menu);
    // The sliders' tops on each page, below the dialog's top at 143; the track ends 400 right of
    // the dialog's left at 173.
    const std::vector<std::vector<int32_t>> sliderTops = {{85, 135, 185}, {150}, {85, 135, 185}, {70, 120}};
    const char* backgrounds[] = {"APPLE_SETUP", "FROG_SETUP", "MOLE_SETUP", "APPLE_SETUP"};
    for (int page = 1; page <= 4; ++page) {
        const auto shot = program.LoadShot("page" + std::to_string(page) + ".png");
        const auto background = PackPicture(backgrounds[page - 1]);
        ASSERT_TRUE(shot && background);
        // Nothing of the dialog, its buttons included, changes a pixel outside its picture.
        const platform::Rect dialog{173, 143, 173 + background->Width(), 143 + background->Height()};
        int outside = 0;
        for (int32_t y = 0; y < 600; ++y) {
            for (int32_t x = 0; x < 800; ++x) {
                const bool inside = x >= dialog.left && x < dialog.right && y >= dialog.top && y < dialog.bottom;
                outside += !inside && shot->ReadPixel(x, y) != menu->ReadPixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(outside, 0) << "page " << page;
        // Every row of the page stands clear of its panel's bottom edge (y 248 in the dialog).
        int onEdge = 0;
        for (int32_t y = 240; y < 256; ++y) {
            for (int32_t x = 108; x < 444; ++x)
                onEdge += shot->ReadPixel(173 + x, 143 + y) != background->ReadPixel(x, y) ? 1 : 0;
        }
        EXPECT_EQ(onEdge, 0) << "page " << page;
        // At its maximum each knob stands at the track's end; its value, in black, begins right
        // of it and none of the value is under it.
        for (const int32_t top : sliderTops[static_cast<size_t>(page - 1)]) {
            const int32_t y = 143 + top;
            const int32_t knobLeft = KnobLeft(*shot, *knob, y);
            ASSERT_GE(knobLeft, 0) << "page " << page << ", slider at " << top;
            int32_t valueLeft = 800;
            int valuePixels = 0;
            for (int32_t vy = y - 2; vy < y + 20; ++vy) {
                for (int32_t x = knobLeft + 11; x < dialog.right; ++x) {
                    if (shot->ReadPixel(x, vy) != 0) continue;
                    valueLeft = std::min(valueLeft, x);
                    ++valuePixels;
                }
            }
            EXPECT_GT(valuePixels, 10) << "page " << page << ", slider at " << top;
            EXPECT_GT(valueLeft, knobLeft + 12) << "page " << page << ", slider at " << top;
        }
    }
}

}  // namespace
