#pragma once
#include <cstdint>
#include <memory>

#include "widgets/LeftButton.h"

// A full-window screen. The shell forwards input to the current screen and drives it once per
// frame; every operation has a do-nothing default so a screen overrides only what it uses.
// Results are success flags; the shell ignores the results of input operations.
class IGameInterface {
public:
    virtual ~IGameInterface() = default;

    virtual bool Run() { return true; }
    virtual bool RestoreRes() { return true; }
    virtual bool UpDateScreen() { return true; }
    virtual bool UpDateGame() { return true; }
    // Asked before every frame: false when drawing now would give exactly the picture of the last
    // frame drawn and UpDateGame would change nothing (nothing moves, blinks or counts down).
    // Such frames are skipped until input, a network message or a screen switch arrives. The
    // default redraws every frame.
    virtual bool NextFrameDiffers() { return true; }
    virtual bool MouseDown(int32_t /*Button*/, int32_t /*X*/, int32_t /*Y*/) { return true; }
    virtual bool MouseUp(int32_t /*Button*/, int32_t /*X*/, int32_t /*Y*/) { return true; }
    virtual bool MouseMove(int32_t /*X*/, int32_t /*Y*/) { return true; }
    // The wheel turned by `Notches` (positive: away from the player) with the pointer at (X, Y).
    virtual bool MouseWheel(int32_t /*Notches*/, int32_t /*X*/, int32_t /*Y*/) { return true; }
    virtual bool KeyDown(int32_t /*KeyCode*/, int32_t /*Shift*/) { return true; }
    virtual bool KeyPress(int32_t /*KeyAscii*/) { return true; }
    virtual bool KeyUp(int32_t /*KeyCode*/, int32_t /*Shift*/) { return true; }
    // The window was hidden (minimised), and is shown again: no frame runs in between, and a
    // screen that counts the player's typing time stops it.
    virtual void WindowHidden(bool /*hidden*/) {}
    // The game did not run from `fromMs` to `toMs` on the clock (the process or the machine was
    // stopped): the next frame moves by one frame's time, and a screen that counts the player's
    // typing time leaves this out.
    virtual void TimeLost(uint32_t /*fromMs*/, uint32_t /*toMs*/) {}
};

// Makes `next` the current screen (releasing the previous one once nobody calls into it any
// more) and calls its Run. A screen may call this from inside its own handlers.
void MakeCurrentScreen(std::shared_ptr<IGameInterface> next);
