// The message queue's wait on a real X server (Xvfb, started here): input and wakes from other
// threads end it at once, and with neither it sleeps until its deadline.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "XPointer.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/MessageQueue.h"
#include "tests/support/OwnXServer.h"

using platform::Clock;
using platform::Message;
using platform::MessageQueue;
using testsupport::OwnXServer;

namespace {

uint32_t Elapsed(uint32_t since) { return Clock::Now() - since; }

TEST(XServerWaitTest, InputAndWakesEndTheWaitAndNothingEndsItAtTheDeadline) {
    OwnXServer server;
    if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "no Xvfb on this machine";
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.Name().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("GLYPHOR_WINDOWED", "1", 1);
    auto display = platform::Display::CreateWindow("wait");
    ASSERT_NE(display, nullptr) << SDL_GetError();
    ASSERT_TRUE(display->InitRenderer());
    display->Show();
    auto back = platform::Surface::Create(platform::Display::kWidth, platform::Display::kHeight);
    ASSERT_TRUE(display->Present(*back));
    SDL_Window* window = display->SdlWindow();

    auto& queue = MessageQueue::Instance();
    Message msg;
    // Until a wait lasts to its end: the window's first events (shown, exposed) each end one.
    const auto drain = [&] {
        for (int i = 0; i < 20; ++i) {
            const uint32_t began = Clock::Now();
            queue.WaitReal(began + 300);
            while (queue.Peek(msg, true)) {}
            if (Elapsed(began) >= 300) return;
        }
    };
    drain();

    // Nothing happens: the wait lasts until its deadline.
    uint32_t start = Clock::Now();
    queue.WaitUntil(start + 150);
    EXPECT_GE(Elapsed(start), 150u);

    // The pointer moves over the window, from another connection.
    std::thread mover([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        WarpPointerInto(window, 200, 150);
    });
    start = Clock::Now();
    queue.WaitUntil(start + 5000);
    mover.join();
    EXPECT_LT(Elapsed(start), 2000u);
    bool moved = false;
    while (queue.Peek(msg, true)) moved = moved || (msg.message == platform::WM_MOUSEMOVE && msg.X() == 200);
    EXPECT_TRUE(moved);

    // Another thread wakes the wait.
    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        MessageQueue::Wake();
    });
    start = Clock::Now();
    queue.WaitUntil(start + 5000);
    waker.join();
    EXPECT_LT(Elapsed(start), 2000u);
    display.reset();
}

}  // namespace
