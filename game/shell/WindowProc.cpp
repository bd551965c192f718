#include <cstdio>
#include <exception>

#include "platform/Display.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/ScriptVerbs.h"
#include "shell/SoundSwitch.h"

using platform::Message;

int32_t GetShiftState() {
    const auto& queue = platform::MessageQueue::Instance();
    return (queue.IsKeyDown(platform::VK_SHIFT) ? 1 : 0) | (queue.IsKeyDown(platform::VK_CONTROL) ? 2 : 0);
}

namespace {

// Calls into the current screen holding a reference for the length of the call, so the screen
// may switch screens inside its handler. A failure raised by the handler is written to standard
// error and the message counts as handled: one bad message must not end the game.
template <typename Call>
void ToScreen(Call call) {
    const std::shared_ptr<IGameInterface> screen = g_Screen;
    if (!screen) return;
    try {
        call(*screen);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "glyphor_police: a screen failed to handle a message: %s\n", e.what());
    }
}

}  // namespace

void WindowProc(const Message& msg) {
    if (SoundSwitch::TakeKey(msg)) return;  // Ctrl+M is the sound switch on every screen
    const auto code = static_cast<int32_t>(msg.wParam);
    RequestRedraw();
    switch (msg.message) {
    case platform::WM_DESTROY:
        platform::MessageQueue::Instance().PostQuit(0);
        break;
    case platform::WM_KEYDOWN: {
        const int32_t shift = GetShiftState();
        ToScreen([&](IGameInterface& s) { s.KeyDown(code, shift); });
        break;
    }
    case platform::WM_KEYUP: {
        const int32_t shift = GetShiftState();
        ToScreen([&](IGameInterface& s) { s.KeyUp(code, shift); });
        break;
    }
    case platform::WM_CHAR:
    case platform::WM_IME_CHAR:
        ToScreen([&](IGameInterface& s) { s.KeyPress(code); });
        break;
    case platform::WM_MOUSEMOVE:
        ToScreen([&](IGameInterface& s) { s.MouseMove(msg.X(), msg.Y()); });
        break;
    case platform::WM_LBUTTONDOWN:
        ToScreen([&](IGameInterface& s) { s.MouseDown(kLeftButton, msg.X(), msg.Y()); });
        break;
    case platform::WM_LBUTTONUP:
        ToScreen([&](IGameInterface& s) { s.MouseUp(kLeftButton, msg.X(), msg.Y()); });
        break;
    case platform::WM_MOUSEWHEEL: {
        const int32_t notches = msg.WheelNotches();
        if (notches != 0) ToScreen([&](IGameInterface& s) { s.MouseWheel(notches, msg.X(), msg.Y()); });
        break;
    }
    case platform::WM_APP_RESTORE:
        if (g_Display) g_Display->RestoreAndRaise();
        break;
    case platform::WM_APP_SCRIPT:
        if (!RunScriptVerb(msg.text)) platform::ScriptRunner::Report(msg.wParam, msg.text, "not understood");
        break;
    default:
        // System keys and the right and middle buttons reach no screen.
        break;
    }
}
