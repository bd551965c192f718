#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"

namespace shelltest {
namespace {

using platform::Clock;

class FrameLoopTest : public ShellTest {};

TEST_F(FrameLoopTest, RunsAFrameOnlyAfterNineteenMilliseconds) {
    Clock::UseVirtual(5000);
    StartFrameClock();
    ASSERT_TRUE(FrameTick());  // the first frame runs at once
    EXPECT_EQ(g_LastFrameTime, 5000);

    Clock::AdvanceTo(5018);
    EXPECT_FALSE(FrameTick());
    EXPECT_EQ(g_LastFrameTime, 5000);

    Clock::AdvanceTo(5019);
    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(g_LastFrameTime, 5019);
    EXPECT_EQ(g_FrameElapsed, 19);

    Clock::AdvanceTo(5019 + 45);
    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(g_FrameElapsed, 45);
    EXPECT_TRUE(screen->Calls("TimeLost").empty());

    // A frame over a second late: the program was stopped. The game moves by one frame, and the
    // screen hears which time was not the player's.
    Clock::AdvanceTo(5064 + 62000);
    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(g_FrameElapsed, 19);
    EXPECT_EQ(screen->Calls("TimeLost"), std::vector<std::string>{"TimeLost 5083 67064"});
    screen->calls.clear();

    // Keys typed while it stood still came in with it: that time was the player's.
    Clock::AdvanceTo(67064 + 5000);
    platform::Message key;
    key.message = platform::WM_KEYDOWN;
    key.wParam = 'A';
    platform::MessageQueue::Instance().Post(key);
    PumpOnce();
    EXPECT_EQ(g_FrameElapsed, 19);
    EXPECT_TRUE(screen->Calls("TimeLost").empty());
    Clock::AdvanceTo(72064 + 19);
    ASSERT_TRUE(FrameTick());
    screen->calls.clear();

    // Game state first, then drawing, in every frame.
    Clock::AdvanceTo(72083 + 19);
    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"UpDateGame", "UpDateScreen"}));
}

// A still picture lets the loop sleep up to a second. Whatever ends that sleep, a click on a
// paused round's go-on button included, the next frame moves the game by one frame's time.
TEST_F(FrameLoopTest, TheFrameAfterAStillPictureMovesByOneFrameThoughInputWokeIt) {
    struct StillScreen : RecordingScreen {
        bool NextFrameDiffers() override { return false; }
    };
    auto still = std::make_shared<StillScreen>();
    g_Screen = still;
    Clock::UseVirtual(1000);
    StartFrameClock();
    ASSERT_TRUE(FrameTick());
    Clock::AdvanceTo(1000 + 900);
    platform::Message click;
    click.message = platform::WM_LBUTTONDOWN;
    click.lParam = platform::Message::MakeLParam(5, 5);
    platform::MessageQueue::Instance().Post(click);
    PumpOnce();
    EXPECT_EQ(still->Calls("UpDateGame").size(), 2u);
    EXPECT_EQ(g_FrameElapsed, 19);
    EXPECT_TRUE(still->Calls("TimeLost").empty());
}

TEST_F(FrameLoopTest, FirstFrameRunsAtOnceWhateverTheClockReads) {
    for (uint32_t start : {0u, 10u, 0x7FFFFFF0u, 0x80000000u, 0xFFFFFFF5u}) {
        Clock::UseVirtual(start);
        StartFrameClock();
        EXPECT_TRUE(FrameTick()) << start;
        // Frames go on across the wrap of the 32-bit counter.
        Clock::AdvanceTo(start + 19);
        EXPECT_TRUE(FrameTick()) << start;
        EXPECT_EQ(g_FrameElapsed, 19);
    }
}

TEST_F(FrameLoopTest, MainPumpDispatchesInputBetweenFramesAndEndsOnQuit) {
    // The script runner drives the one wait: 3 frames, a key, then the end of the script.
    platform::ScriptRunner::Start("frames 3\nkey Esc\n");
    StartFrameClock();
    RunMainPump();
    const auto calls = screen->calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(screen->Calls("UpDateGame").size(), 4u);  // the first frame and three more
    EXPECT_EQ(screen->Calls("KeyPress"), std::vector<std::string>{"KeyPress 27"});
    EXPECT_EQ(g_FrameElapsed, 20);  // a scripted frame is 20 ms of virtual time
}

TEST_F(FrameLoopTest, PumpOnceHandlesWaitingMessagesThenOneFrame) {
    Clock::UseVirtual(100);
    StartFrameClock();
    platform::Message move;
    move.message = platform::WM_MOUSEMOVE;
    move.lParam = platform::Message::MakeLParam(12, 34);
    platform::MessageQueue::Instance().Post(move);
    PumpOnce();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"MouseMove 12 34", "UpDateGame", "UpDateScreen"}));

    platform::MessageQueue::Instance().PostQuit(0);
    EXPECT_THROW(PumpOnce(), ShutdownCalled);
}

}  // namespace
}  // namespace shelltest
