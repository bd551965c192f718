#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ShellTestSupport.h"
#include "engine/GraphicEngine.h"
#include "platform/Display.h"
#include "platform/ResourcePack.h"
#include "shell/ModalLoop.h"
#include "shell/ScriptVerbs.h"

namespace shelltest {
namespace {

class LostDisplayTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        g_Display = platform::Display::CreateWindow("lost display test");
        ASSERT_NE(g_Display, nullptr);
        platform::MessageQueue::Instance().SetWindowEventHandler(&platform::Display::DispatchWindowEvent);
        g_Graphic = std::make_shared<GraphicEngine>(std::unique_ptr<platform::ResourcePack>());
        ASSERT_TRUE(g_Graphic->Init(g_Display.get()));
        g_Display->Show();
    }
    void TearDown() override {
        RegisterScriptVerb("show", nullptr);
        g_Graphic.reset();
        g_Display.reset();
        platform::MessageQueue::Instance().SetWindowEventHandler(nullptr);
        ShellTest::TearDown();
    }
};

TEST_F(LostDisplayTest, TheFrameWaitsWhileLostStillTakingInputThenRestoresAndReloads) {
    RegisterScriptVerb("show", [](const std::string&) {
        SDL_ShowWindow(g_Display->SdlWindow());
        return true;
    });
    // While the window is hidden: frames of waiting, a key, then the window comes back.
    platform::ScriptRunner::Start("frames 4\nkey x\nframes 2\nshow\nframes 1\n");
    StartFrameClock();
    SDL_HideWindow(g_Display->SdlWindow());
    ASSERT_TRUE(g_Graphic->IsLost());

    ASSERT_TRUE(FrameTick());
    EXPECT_FALSE(g_Graphic->IsLost());
    // The screen heard of the wait, input went to it during the wait, and the pictures were
    // reloaded once, before the frame's update and drawing.
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"WindowHidden 1", "KeyDown 88 0", "KeyPress 120", "KeyUp 88 0",
                                                       "WindowHidden 0", "RestoreRes", "UpDateGame", "UpDateScreen"}));
    // Six frames' worth of virtual time went by in the wait; the game's clock counts none of it,
    // the next frame's time starts from the window's return.
    EXPECT_EQ(platform::Clock::Now(), platform::ScriptRunner::kClockStart + 6 * platform::ScriptRunner::kFrameMs);
    EXPECT_EQ(g_FrameElapsed, kFrameInterval);
    EXPECT_EQ(static_cast<uint32_t>(g_LastFrameTime), platform::Clock::Now());
}

// The program's end, met while the window is hidden (closed from the taskbar, or a signal), ends
// the wait and stays queued for whoever takes it next: a dialog drawn then answers first.
// A dialog left alone draws nothing, but a window uncovered or resized under it (a new screen
// resolution) is drawn at once, without waiting for the player's input.
TEST_F(LostDisplayTest, ADialogLeftAloneIsDrawnAgainWhenItsWindowIsResized) {
    platform::Clock::UseVirtual(1000);
    auto& queue = platform::MessageQueue::Instance();
    int waits = 0;
    int frames = 0;
    queue.SetScriptHook([&](uint32_t deadline) {
        if (++waits == 2) {
            SDL_Event resized;
            SDL_zero(resized);
            resized.type = SDL_WINDOWEVENT;
            resized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
            resized.window.windowID = SDL_GetWindowID(g_Display->SdlWindow());
            queue.HandleSdlEvent(resized);
        }
        platform::Clock::AdvanceTo(deadline);
    });
    RunModalLoop([&] { return waits < 5; },
                 [&] {
                     ++frames;
                     g_Graphic->Present();
                 },
                 [](const platform::Message&) { return true; });
    queue.SetScriptHook({});
    EXPECT_EQ(frames, 2) << "the first frame, and one for the resize";
}

TEST_F(LostDisplayTest, AQuitWhileHiddenEndsTheWaitAndStaysQueued) {
    StartFrameClock();
    SDL_HideWindow(g_Display->SdlWindow());
    platform::MessageQueue::Instance().PostQuit(0);
    EXPECT_TRUE(CheckLostSurfaces());
    platform::Message next;
    ASSERT_TRUE(platform::MessageQueue::Instance().Peek(next, true));
    EXPECT_EQ(next.message, platform::WM_QUIT);
}

// A hidden window costs nothing while it waits: the wait wakes for input and messages, not for
// the frames it does not draw.
TEST_F(LostDisplayTest, AHiddenWindowWaitsWithoutWakingEveryFrame) {
    StartFrameClock();
    SDL_HideWindow(g_Display->SdlWindow());
    int wakes = 0;
    SetLostDisplayWork([&wakes] { ++wakes; });
    std::thread closer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        platform::Message quit;
        quit.message = platform::WM_QUIT;
        platform::MessageQueue::Instance().PostFromAnyThread(quit);
    });
    EXPECT_TRUE(CheckLostSurfaces());
    closer.join();
    SetLostDisplayWork(nullptr);
    EXPECT_LE(wakes, 3) << "woke every frame while hidden";
    platform::Message next;
    ASSERT_TRUE(platform::MessageQueue::Instance().Peek(next, true));
}

// A presentation reset while the window is shown (the render device restarted) is restored by
// the next frame at once, not waited on for ever.
TEST_F(LostDisplayTest, AResetWhileShownIsRestoredByTheNextFrameWithoutWaiting) {
    platform::ScriptRunner::Start("frames 2\n");
    StartFrameClock();
    SDL_Event reset;
    SDL_zero(reset);
    reset.type = SDL_RENDER_TARGETS_RESET;
    platform::Display::DispatchWindowEvent(&reset);
    ASSERT_TRUE(g_Graphic->IsLost());
    const uint32_t before = platform::Clock::Now();
    ASSERT_TRUE(FrameTick());
    EXPECT_FALSE(g_Graphic->IsLost());
    EXPECT_EQ(platform::Clock::Now(), before);
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"RestoreRes", "UpDateGame", "UpDateScreen"}));
}

}  // namespace
}  // namespace shelltest
