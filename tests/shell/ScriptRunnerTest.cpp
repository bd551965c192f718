#include <gtest/gtest.h>

#include <chrono>

#include "ShellTestSupport.h"
#include "platform/Clock.h"
#include "platform/ScriptRunner.h"
#include "shell/ScriptVerbs.h"

namespace shelltest {
namespace {

using platform::ScriptRunner;

class ScriptRunnerTest : public ShellTest {
protected:
    // Runs the script through the real main pump until the program would end.
    void Play(const std::string& script) {
        ScriptRunner::Start(script);
        StartFrameClock();
        RunMainPump();
    }
};

TEST_F(ScriptRunnerTest, KeysArriveAsTypedWithTheirCharacters) {
    Play("key a\nkey A\nkey Enter\nkey Space\nkey ?\nkeydown Shift\nkeyup Shift\nkey F10\nkey # # hash\n");
    EXPECT_EQ(
        screen->Calls("Key"),
        (std::vector<std::string>{"KeyDown 65 0", "KeyPress 97",  "KeyUp 65 0",    "KeyDown 65 0", "KeyPress 65",
                                  "KeyUp 65 0",   "KeyDown 13 0", "KeyPress 13",   "KeyUp 13 0",   "KeyDown 32 0",
                                  "KeyPress 32",  "KeyUp 32 0",   "KeyDown 191 0", "KeyPress 63",  "KeyUp 191 0",
                                  "KeyDown 16 1", "KeyUp 16 0",   "KeyDown 51 0",  "KeyPress 35",  "KeyUp 51 0"}));
}

TEST_F(ScriptRunnerTest, TypeGoesOneFrameApartAndChineseComesAsInputMethodText) {
    // The text runs to the end of the line, a trailing space included.
    Play("type ab 中 \r\n");
    std::vector<std::string> keysAndFrames;
    for (const auto& c : screen->calls) {
        if (c.rfind("KeyPress", 0) == 0 || c == "UpDateGame") keysAndFrames.push_back(c);
    }
    EXPECT_EQ(keysAndFrames,
              (std::vector<std::string>{"UpDateGame", "KeyPress 97", "UpDateGame", "KeyPress 98", "UpDateGame",
                                        "KeyPress 32", "UpDateGame", "KeyPress " + std::to_string(0xD6D0), "UpDateGame",
                                        "KeyPress 32", "UpDateGame"}));
}

TEST_F(ScriptRunnerTest, ACharacterNoKeyOrInputMethodGivesIsSkippedAndTheRestTyped) {
    testing::internal::CaptureStderr();
    Play(
        "frames 1\ntype a\xE2\x98\x83"
        "b\n");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(screen->Calls("KeyPress"), (std::vector<std::string>{"KeyPress 97", "KeyPress 98"}));
    EXPECT_EQ(errors, "script line 2: cannot be typed: \xE2\x98\x83\n");
}

// A line of a megabyte is played up to its bound, the rest reported and skipped, and a reported
// line is quoted by its start only: the run takes well under a second.
TEST_F(ScriptRunnerTest, AHugeLineIsCutAtItsBoundAndQuotedShort) {
    const std::string huge(1u << 20, 'z');
    testing::internal::CaptureStderr();
    const auto start = std::chrono::steady_clock::now();
    Play("nosuchverb " + huge + "\nkey c\n");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_LT(seconds, 1.0);
    const std::string quoted = "nosuchverb " + std::string(69, 'z') + "...\n";
    EXPECT_EQ(errors.rfind("script line 1: too long: the rest of the line is skipped: " + quoted, 0), 0u) << errors;
    EXPECT_LT(errors.size(), 400u) << errors;
    EXPECT_EQ(screen->Calls("KeyPress"), (std::vector<std::string>{"KeyPress 99"}));
}

TEST_F(ScriptRunnerTest, FramesAndWaitMoveTheVirtualClockTwentyMillisecondsAFrame) {
    // A count out of range is a line not understood, not a wait of some wrapped length.
    Play("frames 5\nwait 99999999999999999999\nwait 100\nframes -99999999999999999999\nwait 30\n");
    EXPECT_EQ(screen->Calls("UpDateGame").size(), 1u + 5 + 5 + 2);
    EXPECT_EQ(platform::Clock::Now(), ScriptRunner::kClockStart + 12 * ScriptRunner::kFrameMs);
}

TEST_F(ScriptRunnerTest, RealtimeLinesPassOnTheRealClockWithoutAJump) {
    const auto started = std::chrono::steady_clock::now();
    Play("frames 2\nrealtime\nframes 10\nwait 100\n");
    const auto took = std::chrono::steady_clock::now() - started;
    // Fifteen frames of about 19-20 ms each; the virtual clock went on from where it stood.
    EXPECT_GE(took, std::chrono::milliseconds(15 * 19 - 5));
    EXPECT_EQ(screen->Calls("UpDateGame").size(), 1u + 2 + 10 + 5);
    EXPECT_TRUE(platform::Clock::FollowsReal());
    EXPECT_LT(platform::Clock::Now() - ScriptRunner::kClockStart, 2000u);
}

TEST_F(ScriptRunnerTest, AwaitGoesOnOnceTheStateIsAnnouncedAndGivesUpAfterSixtySeconds) {
    RegisterScriptVerb("announce", [](const std::string& state) {
        ScriptRunner::Announce(state);
        return true;
    });
    testing::internal::CaptureStderr();
    // Announced before its line is reached counts once: the second await of it waits in vain.
    Play("announce ready\nframes 2\nawait ready\nframes 1\nawait ready\n");
    const std::string errors = testing::internal::GetCapturedStderr();
    RegisterScriptVerb("announce", nullptr);
    EXPECT_EQ(errors, "state: ready\nscript line 5: not announced in time: await ready\n");
    // Two frames, one, then the 60 s the second await waits.
    EXPECT_EQ(screen->Calls("UpDateGame").size(), 2u + 1 + 3000);
}

TEST_F(ScriptRunnerTest, PointerVerbsGiveLeftButtonMessages) {
    Play("move 10 20\nclick 30 40\ndown 1 2\nup 900 -5\n");
    EXPECT_EQ(screen->Calls("Mouse"),
              (std::vector<std::string>{"MouseMove 10 20", "MouseMove 30 40", "MouseDown 1 30 40", "MouseUp 1 30 40",
                                        "MouseDown 1 1 2", "MouseUp 1 799 0"}));
}

TEST_F(ScriptRunnerTest, UnknownVerbsGoToTheRegisteredTestVerbs) {
    std::vector<std::string> seen;
    RegisterScriptVerb("open", [&](const std::string& args) {
        seen.push_back(args);
        return true;
    });
    Play("open setup 2\nno-such-verb here\n# a comment\nopen  x  \n");
    RegisterScriptVerb("open", nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"setup 2", "x"}));
}

TEST_F(ScriptRunnerTest, QuitEndsAtOnceAndLaterLinesAreNotPlayed) {
    Play("key a\nquit\nkey b\n");
    EXPECT_EQ(screen->Calls("KeyPress"), std::vector<std::string>{"KeyPress 97"});
}

TEST_F(ScriptRunnerTest, AltHeldMakesSystemKeys) {
    Play("keydown Alt\nkey x\nkey F4\nkeyup Alt\nkey y\n");
    EXPECT_EQ(screen->Calls("Key"), (std::vector<std::string>{"KeyDown 89 0", "KeyPress 121", "KeyUp 89 0"}));
}

}  // namespace
}  // namespace shelltest
