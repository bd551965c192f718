#include "shell/ModalLoop.h"

#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/SoundSwitch.h"

namespace {

// Longest sleep of a dialog that shows nothing new: a lost wake costs at most this.
constexpr uint32_t kStillWait = 1000;

using Front = platform::MessageQueue::Front;

// Takes one waiting message, if any. The program's end is left in the queue for the frame loop,
// so that the code that opened the dialog finishes first (a high score is entered, settings are
// saved) and any dialog it opens next ends as well.
Front TakeMessage(const std::function<bool(const platform::Message&)>& handle) {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    const Front front = queue.TakeUnlessQuit(msg);
    if (front != Front::Taken) return front;
    if (SoundSwitch::TakeKey(msg)) return front;  // the sound switch works over dialogs too
    if (handle(msg)) return front;
    // The game behind stands frozen: characters (an input method's, the number pad's) and the
    // wheel the dialog leaves alone type or scroll nothing there.
    if (msg.message == platform::WM_CHAR || msg.message == platform::WM_IME_CHAR ||
        msg.message == platform::WM_MOUSEWHEEL)
        return front;
    queue.Translate(msg);
    WindowProc(msg);
    return front;
}

}  // namespace

bool RunModalLoop(const std::function<bool()>& running, const std::function<void()>& frame,
                  const std::function<bool(const platform::Message&)>& handle,
                  const std::function<uint32_t()>& nextChange) {
    auto& queue = platform::MessageQueue::Instance();
    // The dialog learns where the pointer rests, so a button under it takes a click at once.
    int32_t x = 0;
    int32_t y = 0;
    if (queue.PointerPosition(x, y)) {
        platform::Message move;
        move.message = platform::WM_MOUSEMOVE;
        move.lParam = platform::Message::MakeLParam(x, y);
        handle(move);
    }
    bool drawn = false;
    bool due = true;  // the picture may have changed since it was last drawn
    uint32_t lastFrame = 0;
    uint32_t changeAt = 0;  // when the picture changes by itself next (with nextChange)
    bool quit = false;
    while (!quit && running()) {
        const Front front = TakeMessage(handle);
        quit = front == Front::Quit;
        if (front != Front::Empty) {
            due = true;
            continue;
        }
        const bool everyFrame = platform::ScriptRunner::Active();
        const uint32_t now = platform::Clock::Now();
        // A window uncovered or resized (a new screen resolution) is drawn at once, not at the
        // player's next input.
        const bool windowAsks = g_Display && g_Display->PresentForced();
        due = due || everyFrame || windowAsks || (nextChange && static_cast<int32_t>(now - changeAt) >= 0);
        if (due && (!drawn || static_cast<int32_t>(now - lastFrame) >= kFrameInterval)) {
            drawn = true;
            due = false;
            lastFrame = now;
            g_LastFrameTime = static_cast<int32_t>(now);
            frame();
            if (nextChange) changeAt = nextChange();
            continue;
        }
        if (due) {
            queue.WaitUntil(lastFrame + static_cast<uint32_t>(kFrameInterval));
            continue;
        }
        if (g_Sound) g_Sound->RestWhileSilent();
        const bool changeFirst = nextChange && static_cast<int32_t>(changeAt - (now + kStillWait)) < 0;
        queue.WaitUntil(changeFirst ? changeAt : now + kStillWait);
    }
    // The time in the dialog is neither frame time nor time lost: the screen under it goes on
    // one frame after its last. Its picture is on the back surface, so that frame is drawn.
    StartFrameClock();
    RequestRedraw();
    return quit;
}
