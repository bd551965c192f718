#include "shell/ModalLoop.h"

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/SoundSwitch.h"

void RunModalLoop(const std::function<bool()>& running, const std::function<void()>& frame,
                  const std::function<bool(const platform::Message&)>& handle) {
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
    uint32_t lastFrame = 0;
    while (running()) {
        platform::Message msg;
        if (queue.Peek(msg, true)) {
            if (msg.message == platform::WM_QUIT) ShutdownProgram();
            if (SoundSwitch::TakeKey(msg)) continue;  // the sound switch works over dialogs too
            if (handle(msg)) continue;
            // The game behind stands frozen: characters (an input method's, the number pad's)
            // and the wheel the dialog leaves alone type or scroll nothing there.
            if (msg.message == platform::WM_CHAR || msg.message == platform::WM_IME_CHAR ||
                msg.message == platform::WM_MOUSEWHEEL)
                continue;
            queue.Translate(msg);
            WindowProc(msg);
            continue;
        }
        uint32_t now = platform::Clock::Now();
        if (!drawn || static_cast<int32_t>(now - lastFrame) >= kFrameInterval) {
            drawn = true;
            lastFrame = now;
            g_LastFrameTime = static_cast<int32_t>(now);
            frame();
            continue;
        }
        queue.WaitUntil(lastFrame + static_cast<uint32_t>(kFrameInterval));
    }
    // The dialog's picture is on the back surface: the screen under it draws its next frame.
    RequestRedraw();
}
