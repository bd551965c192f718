#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/Surface.h"
#include "shell/IGameInterface.h"
#include "widgets/MouseRouting.h"

class AniButton;
class SpeakerButton;

// The main menu: a splash of the game under the pointer, five game buttons stacked on the left
// a records button and a quit button. Keys 1 to 5 open the games, 6 the records, Esc asks whether
// to quit.
class SwitchBoard final : public IGameInterface {
public:
    // The game buttons, top to bottom.
    enum Game : int { kPolice, kSpace, kMole, kFrog, kApple, kGames };

    static std::shared_ptr<SwitchBoard> Create();
    // Puts the menu and every game into the shell's screen table (start-up, before any screen).
    static void RegisterScreens();

    bool RestoreRes() override;
    bool UpDateScreen() override;
    // The menu stands still until input.
    bool NextFrameDiffers() override { return false; }
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;

    // A game button's events; its click opens a fresh screen of that game.
    void Game_OnClick(Game game);
    void Game_OnEnter(Game game);
    void Game_OnLeave(Game game);
    void BtnQuite_OnClick();
    void BtnRecords_OnClick();

    // The picture shown: 0 none, 1 apple, 2 frog, 3 mole, 4 space, 5 police.
    int32_t Highlighted() const { return highlighted_; }

    std::shared_ptr<AniButton> BtnPolice;
    std::shared_ptr<AniButton> BtnSpace;
    std::shared_ptr<AniButton> BtnMole;
    std::shared_ptr<AniButton> BtnFrog;
    std::shared_ptr<AniButton> BtnApple;
    std::shared_ptr<AniButton> BtnQuite;
    std::shared_ptr<AniButton> BtnRecords;
    std::shared_ptr<SpeakerButton> BtnSound;

private:
    // The buttons every mouse event walks, in the order they get a press.
    MouseRouting::Table<AniButton, 7> Buttons() const;
    SwitchBoard();

    std::array<platform::SurfacePtr, 6> pictures_;
    std::array<std::shared_ptr<AniButton>, kGames> buttons_;
    int32_t highlighted_ = 0;
};
