#include "shell/FrameLoop.h"

#include <utility>

#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"
#include "results/ResultBook.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

namespace {

// Longest wait of a still screen: a lost wake costs at most this.
constexpr uint32_t kStillWait = 1000;
// Longest a still screen spends on decoding pictures before it sleeps (the delay a key pressed
// meanwhile may see).
constexpr uint32_t kStillDecodeMs = 50;
// A frame this late was not delayed by the machine's load: the program did not run meanwhile.
constexpr int32_t kStoppedMs = 1000;

bool g_redrawRequested = true;
bool g_drawEveryFrame = false;
// The screen drawn by the last frame, and whether it said then that it stands still: a frame is
// skipped only after one still frame was drawn, so the picture shows its settled state.
std::weak_ptr<IGameInterface> g_lastDrawn;
bool g_lastDrawnStill = false;
std::function<void()> g_lostDisplayWork;
// A key or a button was taken since the last frame.
bool g_inputSinceFrame = false;

// The last picture stood still, so the loop sleeps until input or a change (kStillWait at most).
bool LastPictureStill() { return g_lastDrawnStill && !g_drawEveryFrame; }
bool StandsStill() { return LastPictureStill() && !g_redrawRequested; }

void Dispatch(platform::MessageQueue& queue, const platform::Message& msg) {
    switch (msg.message) {
    case platform::WM_KEYDOWN:
    case platform::WM_SYSKEYDOWN:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_RBUTTONDOWN:
        g_inputSinceFrame = true;
        break;
    default:
        break;
    }
    queue.Translate(msg);
    WindowProc(msg);
}

}  // namespace

void RequestRedraw() { g_redrawRequested = true; }

void SetDrawEveryFrame(bool everyFrame) { g_drawEveryFrame = everyFrame; }

void SetLostDisplayWork(std::function<void()> work) { g_lostDisplayWork = std::move(work); }

void StartFrameClock() {
    // The signed difference to "now" is then exactly one frame interval.
    g_LastFrameTime = static_cast<int32_t>(platform::Clock::Now() - static_cast<uint32_t>(kFrameInterval));
}

bool FrameTick() {
    const uint32_t now = platform::Clock::Now();
    const auto elapsed = static_cast<int32_t>(now - static_cast<uint32_t>(g_LastFrameTime));
    if (elapsed < kFrameInterval) return false;
    // After a still picture the loop slept, up to kStillWait or until input came. The first
    // frame then counts as one frame after the last, whether or not input asked for it: a paused
    // round goes on, or a screen switched to by that input moves, by one frame's time, not by the
    // time slept.
    const bool slept = LastPictureStill();
    g_FrameElapsed = slept && elapsed > 2 * kFrameInterval ? kFrameInterval : elapsed;
    const uint32_t due = static_cast<uint32_t>(g_LastFrameTime) + (slept ? kStillWait : kFrameInterval);
    g_LastFrameTime = static_cast<int32_t>(now);
    const bool input = std::exchange(g_inputSinceFrame, false);
    if (static_cast<int32_t>(now - due) > kStoppedMs) {
        // The program did not run (stopped from a terminal, a paused machine): the game goes on
        // where it stood, and the time is none of the player's, unless keys typed meanwhile
        // came in with it (a machine that stalled while the player typed on).
        g_FrameElapsed = kFrameInterval;
        const std::shared_ptr<IGameInterface> screen = g_Screen;
        if (screen && !input) screen->TimeLost(due, now);
    }
    if (CheckLostSurfaces()) {
        // No frame ran while the window was hidden, and that time is none of the game's: a
        // round's clock does not run out behind the player's back.
        g_FrameElapsed = kFrameInterval;
        g_LastFrameTime = static_cast<int32_t>(platform::Clock::Now());
    }
    // The screen is held for the whole frame, so a switch made during it cannot free it early.
    const std::shared_ptr<IGameInterface> screen = g_Screen;
    const bool still = screen && !screen->NextFrameDiffers();
    if (still && StandsStill() && g_lastDrawn.lock() == screen) {
        // Nothing moves and nobody types: a box telling of a result not kept takes no play.
        results::ResultBook::TellLostResults();
        if (g_Graphic) g_Graphic->PresentIfForced();
        return true;
    }
    g_redrawRequested = false;
    g_lastDrawn = screen;
    g_lastDrawnStill = still;
    if (screen) {
        screen->UpDateGame();
        screen->UpDateScreen();
    }
    if (g_Graphic) g_Graphic->Present();
    return true;
}

void WaitForNextFrameOrInput() {
    const uint32_t deadline = static_cast<uint32_t>(g_LastFrameTime) + kFrameInterval;
    const bool sleep = StandsStill() && !platform::ScriptRunner::Active();
    // Time to spare before the next frame goes to pictures that are loaded but not drawn yet. A
    // still screen draws nothing, so it gives them up to kStillDecodeMs and sleeps only once
    // none is left that fits: they are done at once instead of a few each second.
    const bool decoded =
        g_Graphic && g_Graphic->DecodeWhileIdle(sleep ? platform::Clock::Now() + kStillDecodeMs : deadline);
    if (sleep && g_Sound) g_Sound->RestWhileSilent();
    platform::MessageQueue::Instance().WaitUntil(sleep && !decoded ? platform::Clock::Now() + kStillWait : deadline);
}

namespace {

// Takes every waiting message and dispatches it, up to WM_QUIT: that one is left at the front
// of the queue, for the dialog or the pump that takes it next, and true returned.
bool DispatchUntilQuit() {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    platform::MessageQueue::Front front;
    while ((front = queue.TakeUnlessQuit(msg)) == platform::MessageQueue::Front::Taken) Dispatch(queue, msg);
    return front == platform::MessageQueue::Front::Quit;
}

}  // namespace

void PumpOnce() {
    if (DispatchUntilQuit()) ShutdownProgram();
    FrameTick();
}

bool CheckLostSurfaces() {
    if (!g_Graphic || !g_Graphic->IsLost()) return false;
    // A hidden window is waited for; a shown one whose presentation was reset is restored at once.
    const bool hidden = g_Graphic->IsHidden();
    const std::shared_ptr<IGameInterface> hiddenScreen = hidden ? g_Screen : nullptr;
    if (hiddenScreen) hiddenScreen->WindowHidden(true);
    while (g_Graphic->IsHidden()) {
        if (DispatchUntilQuit()) break;
        if (g_lostDisplayWork) g_lostDisplayWork();
        if (!g_Graphic->IsHidden()) break;
        // Nothing is drawn meanwhile: input, the window's return and network messages end the
        // wait, so it need not wake 52 times a second.
        platform::MessageQueue::Instance().WaitUntil(platform::Clock::Now() + kStillWait);
    }
    if (hiddenScreen) hiddenScreen->WindowHidden(false);
    g_Graphic->RestoreSurfaces();
    RequestRedraw();
    if (const std::shared_ptr<IGameInterface> screen = g_Screen) screen->RestoreRes();
    return hidden;
}

void RunMainPump() {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    for (;;) {
        if (queue.Peek(msg, true)) {
            if (msg.message == platform::WM_QUIT) return;
            Dispatch(queue, msg);
        } else if (!FrameTick()) {
            WaitForNextFrameOrInput();
        }
    }
}
