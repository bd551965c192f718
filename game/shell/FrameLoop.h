#pragma once
#include <cstdint>
#include <functional>

namespace platform {
struct Message;
}

// A frame needs at least this many milliseconds since the last one.
inline constexpr int32_t kFrameInterval = 19;

// Sets g_LastFrameTime so that the first FrameTick runs at once, whatever the clock reads
// (also at or above 2^31). Start-up calls it before the first frame.
void StartFrameClock();
// Runs at most one frame: nothing happens until 19 ms have passed since the last frame.
// Returns true when the frame's time had come (it ran, or a still screen's frame was skipped). A frame of a still
// screen (see IGameInterface::NextFrameDiffers) is skipped: no update, no drawing, no present, only a present the
// window asked for.
bool FrameTick();
// The next frame is drawn whatever the screen says: input arrived, a dialog closed, the
// network changed what a screen shows.
void RequestRedraw();
// True draws every frame, also those of a still screen (scripted runs compare the two).
void SetDrawEveryFrame(bool everyFrame);
// Handles every waiting message (WM_QUIT ends the program), then runs FrameTick once.
void PumpOnce();
// Waits for the next input or the next frame deadline, whichever comes first: the main pump and
// the session loop wait here (dialogs and the lost-display wait call the queue's WaitUntil).
// While the screen stands still, a real run waits for input or a network message only (at most
// a second); a scripted run keeps passing frames on its virtual clock.
void WaitForNextFrameOrInput();
// Work the wait for a lost display does on every pass while the window is minimised or hidden
// (the session loop reads its network messages there); empty for none.
void SetLostDisplayWork(std::function<void()> work);
// When the display is lost: waits until it is back, restores the surfaces and lets the current
// screen reload its pictures. True when it waited for a hidden window. The program's end, met
// during the wait, ends it and stays queued for the dialog or the pump that takes it next.
bool CheckLostSurfaces();
// Bit 0: Shift down; bit 1: Ctrl down.
int32_t GetShiftState();
// Dispatches one message to the current screen: keys (Ctrl+M taken for the sound switch first),
// characters, the mouse and its wheel, quit, a second start's request to come forward, and the
// script runner's verbs. Defined in WindowProc.cpp.
void WindowProc(const platform::Message& msg);
// The main pump: runs until WM_QUIT.
void RunMainPump();
// Releases the shared objects (dialogs, screen, high scores, engines, fonts) in their fixed order,
// each whatever the one before did; the window stays with its owner.
void ReleaseSharedObjects();
// Releases the shared objects in their fixed order and ends the process with `status`; never
// returns. Fatal start-up failures end with a non-zero status, a normal end with 0.
[[noreturn]] void ShutdownProgram(int status = 0);
// The exit status of fatal failures (a missing pack, a picture that cannot be loaded, no display).
inline constexpr int kFatalExitStatus = 1;

// Tests: replaces the final process exit of ShutdownProgram (the hook must not return either,
// e.g. it throws or longjmps); null restores the real exit.
void SetShutdownExitHook(std::function<void()> hook);
