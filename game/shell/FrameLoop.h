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
// Returns true when a frame ran.
bool FrameTick();
// Handles every waiting message (WM_QUIT ends the program), then runs FrameTick once.
void PumpOnce();
// Waits for the next input or the next frame deadline, whichever comes first. Every loop of the
// program that waits (the main pump, dialogs, the session loop, the lost-display wait) waits here.
void WaitForNextFrameOrInput();
// When the display is lost: waits until it is back, restores the surfaces and lets the current
// screen reload its pictures.
void CheckLostSurfaces();
// Bit 0: Shift down; bit 1: Ctrl down.
int32_t GetShiftState();
// Dispatches one message to the current screen (key codes, characters, left button, quit).
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
