// Plays the real program headless with a script, through its normal start and end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ChildProcess.h"
#include "tests/support/TempDir.h"

namespace shelltest {
namespace {

uint32_t BigEndian32(const std::vector<unsigned char>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TEST(EndToEndTest, ScriptedRunDrawsFramesTakesASnapshotAndQuits) {
    testsupport::TempDir dir;
    const std::string script = dir.Path() + "play.txt";
    const std::string shot = dir.Path() + "shot.png";
    std::ofstream(script) << "# start, type, look, end\nframes 5\ntype hello\nsnapshot " << shot << "\nquit\n";

    const ChildResult run =
        RunChild(std::string(GLYPHOR_DIST_DIR) + "/glyphor_police",
                 {"GLYPHOR_SCRIPT=" + script, "GLYPHOR_SEED=42", "GLYPHOR_INSTANCE=e2e-" + std::to_string(getpid()),
                  "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
                 std::chrono::seconds(120), dir.Path() + "stderr.txt");
    std::ifstream errors(dir.Path() + "stderr.txt");
    const std::string errorText((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(run.finished) << errorText;
    EXPECT_EQ(run.exitCode, 0) << errorText;

    std::ifstream png(shot, std::ios::binary);
    ASSERT_TRUE(png.good()) << errorText;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(BigEndian32(bytes, 16), 800u);  // IHDR width and height
    EXPECT_EQ(BigEndian32(bytes, 20), 600u);
}

// Closing the terminal the game was started from ends it as closing its window does.
TEST(EndToEndTest, AHangUpEndsTheGameInOrder) {
    testsupport::TempDir dir;
    const std::string script = dir.Path() + "play.txt";
    std::ofstream(script) << "frames 5\nrealtime\nwait 100000\n";
    const ChildResult run =
        RunChild(std::string(GLYPHOR_DIST_DIR) + "/glyphor_police",
                 {"GLYPHOR_SCRIPT=" + script, "GLYPHOR_INSTANCE=hup-" + std::to_string(getpid()),
                  "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
                 std::chrono::seconds(60), dir.Path() + "stderr.txt", "", SignalLater{SIGHUP, std::chrono::seconds(2)});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << FileText(dir.Path() + "stderr.txt");
}

TEST(EndToEndTest, WithoutAnyFontThePlayerIsToldOnceAndTheGameRunsOn) {
    testsupport::TempDir dir;
    const std::string config = dir.Path() + "fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << dir.Path() << "nofonts</dir><cachedir>"
                          << dir.Path() << "cache</cachedir></fontconfig>\n";
    const std::string script = dir.Path() + "play.txt";
    std::ofstream(script) << "frames 5\nclick 540 360\nframes 5\nquit\n";

    const ChildResult run = RunChild(
        std::string(GLYPHOR_DIST_DIR) + "/glyphor_police",
        {"GLYPHOR_SCRIPT=" + script, "FONTCONFIG_FILE=" + config, "GLYPHOR_INSTANCE=nofont-" + std::to_string(getpid()),
         "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
        std::chrono::seconds(120), dir.Path() + "stderr.txt");
    std::ifstream errors(dir.Path() + "stderr.txt");
    const std::string errorText((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(run.finished) << errorText;
    EXPECT_EQ(run.exitCode, 0) << errorText;
    const std::string told = "找不到可用的字体";
    const size_t first = errorText.find(told);
    ASSERT_NE(first, std::string::npos) << errorText;
    EXPECT_EQ(errorText.find(told, first + 1), std::string::npos) << "said more than once";
}

}  // namespace
}  // namespace shelltest
