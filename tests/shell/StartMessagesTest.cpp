// What the real program says, and how it ends, when it cannot start as asked, cannot act on a
// line of its script, or loses its display.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "tests/support/OwnXServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"

namespace shelltest {
namespace {

struct Outcome {
    ChildResult result;
    std::string errors;
};

Outcome Start(const testsupport::TempDir& dir, std::vector<std::string> env,
              const std::string& program = std::string{GLYPHOR_DIST_DIR} + "/glyphor_police") {
    env.push_back("GLYPHOR_INSTANCE=messages-" + std::to_string(getpid()));
    env.push_back("GLYPHOR_LAN_BROADCAST=127.255.255.255");
    env.push_back("SDL_AUDIODRIVER=dummy");
    Outcome run;
    run.result = RunChild(program, env, std::chrono::seconds(120), dir.Path() + "stderr.txt");
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

    // A display named but not answering: SDL would fall back on a driver without a screen, and the
    // game, and its message box, would run unseen and hold the one copy for good.
    // Nothing but the game's own message comes before it, whatever session the desktop runs.
    const Outcome dead = Start(dir, {"DISPLAY=:4242", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "XDG_RUNTIME_DIR="});
    ASSERT_TRUE(dead.result.finished) << "it ran on with no display answering";
    EXPECT_EQ(dead.result.exitCode, 1);
    EXPECT_NE(dead.errors.find("no display answers at DISPLAY=:4242"), std::string::npos) << dead.errors;
    EXPECT_EQ(dead.errors.find("XDG_RUNTIME_DIR"), std::string::npos) << dead.errors;
}

TEST(StartMessagesTest, AScriptThatIsNotAReadablePlainFileIsAnErrorWithStatus2) {
    testsupport::TempDir dir;
    for (const std::string& script : {dir.Path(), dir.Path() + "missing.txt"}) {
        SCOPED_TRACE(script);
        const Outcome run = Start(dir, {"GLYPHOR_SCRIPT=" + script, "SDL_VIDEODRIVER=offscreen"});
        ASSERT_TRUE(run.result.finished);
        EXPECT_EQ(run.result.exitCode, 2);
        EXPECT_EQ(Lines(run.errors), 1u) << run.errors;
        EXPECT_NE(run.errors.find("cannot read the script " + script), std::string::npos) << run.errors;
    }
}

TEST(StartMessagesTest, EveryScriptLineThatCannotBeActedOnIsReportedWithItsNumber) {
    testsupport::TempDir dir;
    const std::string script = dir.Path() + "play.txt";
    std::ofstream(script) << "frames 2\nopen setup 5\nopen foo\ntype a\xE2\x98\x83"
                             "b\nopen setup\nbogus 1\n"
                          << "snapshot " << dir.Path() << "no/such/folder/x.png\nframes 2\n";
    const Outcome run = Start(dir, {"GLYPHOR_SCRIPT=" + script, "SDL_VIDEODRIVER=offscreen"});
    ASSERT_TRUE(run.result.finished) << run.errors;
    EXPECT_EQ(run.result.exitCode, 0) << run.errors;
    for (const char* line :
         {"script line 2: not understood: open setup 5\n", "script line 3: not understood: open foo\n",
          "script line 4: cannot be typed: \xE2\x98\x83\n", "script line 5: not understood: open setup\n",
          "script line 6: not understood: bogus 1\n", "script line 7: cannot write the file: snapshot "}) {
        EXPECT_NE(run.errors.find(line), std::string::npos) << line << " in\n" << run.errors;
    }
    EXPECT_EQ(run.errors.find("script line 1:"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("script line 8:"), std::string::npos) << run.errors;
}

// A pack that is missing or not an archive, or a picture that cannot be decoded, ends the start
// with a non-zero status and a message that names the file or picture at fault.
TEST(StartMessagesTest, AFatalStartUpFailureNamesTheFileAtFaultAndEndsWithANonZeroStatus) {
    namespace fs = std::filesystem;
    const std::string dist = GLYPHOR_DIST_DIR;
    testsupport::TempDir dir;
    const std::string folder = dir.Path() + "program/";
    fs::create_directories(folder + "Game");
    fs::copy_file(dist + "/glyphor_police", folder + "glyphor_police");
    fs::copy_file(dist + "/Game/GameSnd.DLL", folder + "Game/GameSnd.DLL");
    const std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen"};

    Outcome run = Start(dir, env, folder + "glyphor_police");
    ASSERT_TRUE(run.result.finished) << run.errors;
    EXPECT_EQ(run.result.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("无法打开资源库" + folder + "Game/GameRes.DLL"), std::string::npos) << run.errors;

    testsupport::ZipWriter pictures;
    pictures.Add("MAIN_ICON.png", std::string("\x89PNG but not really"));
    ASSERT_TRUE(pictures.Write(folder + "Game/GameRes.DLL"));
    run = Start(dir, env, folder + "glyphor_police");
    ASSERT_TRUE(run.result.finished) << run.errors;
    EXPECT_EQ(run.result.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("图片 MAIN_ICON.png 无法解码: " + folder + "Game/GameRes.DLL"), std::string::npos)
        << run.errors;

    std::ofstream(folder + "Game/GameSnd.DLL", std::ios::trunc) << "not an archive";
    run = Start(dir, env, folder + "glyphor_police");
    ASSERT_TRUE(run.result.finished) << run.errors;
    EXPECT_EQ(run.result.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("无法打开资源库" + folder + "Game/GameSnd.DLL"), std::string::npos) << run.errors;
}

// The session ends under a running game (its X server goes away): the game ends at once with
// status 1 and says why, instead of waiting on the dead connection for ever at full speed.
TEST(StartMessagesTest, AGameWhoseDisplayGoesAwayEndsAtOnceAndSaysSo) {
    testsupport::OwnXServer server;
    if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "no Xvfb on this machine";
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    testsupport::TempDir dir;
    bool shown = false;
    std::thread session([&] {
        shown = server.WaitForAWindow(std::chrono::seconds(60));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        server.Stop();
    });
    const Outcome run = Start(dir, {"DISPLAY=" + server.Name(), "SDL_VIDEODRIVER=x11", "GLYPHOR_WINDOWED=1",
                                    "GLYPHOR_SCRIPT=", "HOME=" + dir.Path()});
    session.join();
    ASSERT_TRUE(shown) << run.errors;
    ASSERT_TRUE(run.result.finished) << "it ran on without its display";
    EXPECT_EQ(run.result.exitCode, 1);
    EXPECT_NE(run.errors.find("the connection to the display was lost"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace shelltest
