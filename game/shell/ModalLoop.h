#pragma once
#include <cstdint>
#include <functional>

namespace platform {
struct Message;
}

// The message loop of the modal dialogs. While `running` holds it takes the thread's messages one
// by one: `handle` gets every message first and returns whether
// it took it; the rest are translated and go to the window procedure. When no message waits, a
// dialog frame is drawn (g_LastFrameTime is set to its start, so the frame loop after the dialog
// measures from there), at most one every kFrameInterval ms, the pace of the game's own frames.
// A frame is drawn first, after messages, and at the time `nextChange` (when given) names, after
// each frame, for the dialog's picture to change by itself (a caret's next blink); otherwise
// nothing is drawn and the loop sleeps until then or the next message, as a still screen does.
// Scripted runs draw every frame. Before the
// first message `handle` gets a move at the pointer's last known position.
// WM_QUIT ends the loop and stays queued for the frame loop, which ends the program: true then,
// and the dialog answers as if cancelled.

bool RunModalLoop(const std::function<bool()>& running, const std::function<void()>& frame,
                  const std::function<bool(const platform::Message&)>& handle,
                  const std::function<uint32_t()>& nextChange = {});
