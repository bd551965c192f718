#include "shell/FrameLoop.h"

#include "engine/GraphicEngine.h"
#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

void StartFrameClock() {
    // The signed difference to "now" is then exactly one frame interval.
    g_LastFrameTime = static_cast<int32_t>(platform::Clock::Now() - static_cast<uint32_t>(kFrameInterval));
}

bool FrameTick() {
    const uint32_t now = platform::Clock::Now();
    const auto elapsed = static_cast<int32_t>(now - static_cast<uint32_t>(g_LastFrameTime));
    if (elapsed < kFrameInterval) return false;
    g_FrameElapsed = elapsed;
    g_LastFrameTime = static_cast<int32_t>(now);
    CheckLostSurfaces();
    // The screen is held for the whole frame, so a switch made during it cannot free it early.
    if (const std::shared_ptr<IGameInterface> screen = g_Screen) {
        screen->UpDateGame();
        screen->UpDateScreen();
    }
    if (g_Graphic) g_Graphic->Present();
    return true;
}

void WaitForNextFrameOrInput() {
    const uint32_t deadline = static_cast<uint32_t>(g_LastFrameTime) + kFrameInterval;
    // Time to spare before the next frame goes to pictures that are loaded but not drawn yet.
    if (g_Graphic) g_Graphic->DecodeWhileIdle(deadline);
    platform::MessageQueue::Instance().WaitUntil(deadline);
}

namespace {

// Takes every waiting message and dispatches it; WM_QUIT ends the program.
void DispatchWaiting() {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    while (queue.Peek(msg, true)) {
        if (msg.message == platform::WM_QUIT) ShutdownProgram();
        queue.Translate(msg);
        WindowProc(msg);
    }
}

}  // namespace

void PumpOnce() {
    DispatchWaiting();
    FrameTick();
}

void CheckLostSurfaces() {
    if (!g_Graphic || !g_Graphic->IsLost()) return;
    while (g_Graphic->IsLost()) {
        DispatchWaiting();
        if (!g_Graphic->IsLost()) break;
        platform::MessageQueue::Instance().WaitUntil(platform::Clock::Now() + kFrameInterval);
    }
    g_Graphic->RestoreSurfaces();
    if (const std::shared_ptr<IGameInterface> screen = g_Screen) screen->RestoreRes();
}

void RunMainPump() {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    for (;;) {
        if (queue.Peek(msg, true)) {
            if (msg.message == platform::WM_QUIT) return;
            queue.Translate(msg);
            WindowProc(msg);
        } else if (!FrameTick()) {
            WaitForNextFrameOrInput();
        }
    }
}
