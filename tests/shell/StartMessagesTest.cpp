// What the real program says, and how it ends, when it cannot start as asked or cannot act on a
// line of its script.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "tests/support/TempDir.h"

namespace shelltest {
namespace {

struct Outcome {
    ChildResult result;
    std::string errors;
};

Outcome Start(const testsupport::TempDir& dir, std::vector<std::string> env) {
    env.push_back("GLYPHOR_INSTANCE=messages-" + std::to_string(getpid()));
    env.push_back("GLYPHOR_LAN_BROADCAST=127.255.255.255");
    env.push_back("SDL_AUDIODRIVER=dummy");
    Outcome run;
    run.result = RunChild(std::string(GLYPHOR_DIST_DIR) + "/glyphor_police", env, std::chrono::seconds(120),
                          dir.Path() + "stderr.txt");
    run.errors = FileText(dir.Path() + "stderr.txt");
    return run;
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(StartMessagesTest, WithoutADisplayTheProgramSaysSoInOneLineAndEndsWithStatus1) {
    testsupport::TempDir dir;
    // Empty values count as unset (the first entry of a name wins over the test's own).
    const Outcome run = Start(dir, {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="});
    ASSERT_TRUE(run.result.finished) << "it ran on without a display";
    EXPECT_EQ(run.result.exitCode, 1);
    EXPECT_EQ(Lines(run.errors), 1u) << run.errors;
    EXPECT_NE(run.errors.find("no display"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace shelltest
