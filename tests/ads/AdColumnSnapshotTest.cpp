// The real program draws the advertisement panel over its start screen through a script; the
// snapshots stay in <build>/ads-snapshots for a look.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/Surface.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::LoadPngFile;

TEST(AdColumnSnapshot, ScriptDrawsThePanelTextOverTheStartScreen) {
    ASSERT_TRUE(fs::exists(kDist + "/glyphor_police"));
    const fs::path dir = fs::path(kDist).parent_path() / "ads-snapshots";
    fs::create_directories(dir);
    const testsupport::TempDir temp("glyphor-ad-shots");
    const std::string before = (dir / "start.png").string();
    const std::string after = (dir / "adcolumn.png").string();
    const std::string later = (dir / "adcolumn-later.png").string();
    for (const std::string& file : {before, after, later}) fs::remove(file);

    // The second "open adcolumn" must not put a second panel over the first.
    const std::string script = "frames 3\nsnapshot " + before + "\nopen adcolumn\nframes 3\nsnapshot " + after +
                               "\nopen adcolumn\nframes 5\nsnapshot " + later + "\n";
    const auto run = testsupport::PlayScript(kDist + "/glyphor_police", temp.Path(), script);
    const std::string& output = run.output;
    ASSERT_NE(run.status, -1) << output;

    const auto start = LoadPngFile(before);
    const auto shot = LoadPngFile(after);
    const auto again = LoadPngFile(later);
    ASSERT_TRUE(start && shot && again) << output;

    // The text colour 0x00C1FF (red 255, green 193, blue 0) as a 16-bit pixel.
    constexpr uint16_t kTextPixel = (31u << 11) | ((193u >> 2) << 5);
    int inText = 0, changedOutside = 0, changedLater = 0;
    int left = 800, right = 0, top = 600, bottom = 0;
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) {
            const uint16_t pixel = shot->ReadPixel(x, y);
            if (pixel == kTextPixel && start->ReadPixel(x, y) != kTextPixel) {
                ++inText;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
            const bool band = x >= 200 && y >= 350 && y < 350 + 40;
            if (!band && pixel != start->ReadPixel(x, y)) ++changedOutside;
            if (again->ReadPixel(x, y) != pixel) ++changedLater;
        }
    }
    // 28 characters of 14 pixels in the panel's font, underlined, from (200, 350).
    EXPECT_GT(inText, 1000);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(changedLater, 0);  // the panel stays, drawn once a frame
    EXPECT_GE(left, 200);
    EXPECT_LT(left, 205);
    EXPECT_GE(top, 350);
    EXPECT_LT(top, 356);
    EXPECT_GE(right - left, 28 * 13);
    EXPECT_LE(right - left, 28 * 15);
    EXPECT_LT(bottom - top, 24);
}

}  // namespace
