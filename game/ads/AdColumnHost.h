#pragma once
#include <memory>

#include "ads/AdColumn.h"
#include "shell/IGameInterface.h"

// A demonstration host of the advertisement panel for scripted runs: it stands in for the
// current screen, hands every call on to it, and draws the panel over it after each of its
// frames, in the panel's prepared font. A screen switch made by the screen inside ends the host.
class AdColumnHost : public IGameInterface {
public:
    explicit AdColumnHost(std::shared_ptr<IGameInterface> screen);

    // Puts a host over the current screen, unless one is already there.
    static void ShowOverCurrentScreen();

    bool Run() override { return true; }  // the screen inside is running already
    bool RestoreRes() override;
    bool UpDateScreen() override;
    bool UpDateGame() override;
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;
    bool KeyPress(int32_t KeyAscii) override;
    bool KeyUp(int32_t KeyCode, int32_t Shift) override;

private:
    std::shared_ptr<IGameInterface> screen_;
    AdColumn column_;
};
