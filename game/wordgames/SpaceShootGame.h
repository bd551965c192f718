#pragma once
#include <cstdint>
#include <memory>

#include "results/GameResult.h"
#include "results/Tally.h"
#include "shell/IGameInterface.h"
#include "widgets/MouseRouting.h"
#include "wordgames/SpaceField.h"
#include "wordgames/SpacePainter.h"

class AniButton;

// The space shooter's screen: its own menu (start or return to the game kept, high scores,
// options, exit), the high-score view, the play and the game-over screen. Esc goes back to the
// menu from every mode and keeps a game in progress frozen until it is resumed. A finished game
// whose score makes the table asks for the player's name.
class SpaceShootGame final : public IGameInterface {
public:
    enum Mode : int32_t { kMenu = 0, kHiScoreView = 1, kPlaying = 2, kGameOver = 4 };

    static std::shared_ptr<SpaceShootGame> Create();
    ~SpaceShootGame() override;

    bool Run() override;
    // Gives the settings dialog and the exit question their pictures, loads the pictures and
    // creates the buttons (later calls reload their pictures and keep their state).
    bool RestoreRes() override;
    bool UpDateScreen() override;
    // One frame of play, in the playing mode only; the game ends when the energy is gone.
    bool UpDateGame() override;
    // Only a game in play moves; its menu, the high-score table and the game over stand still.
    bool NextFrameDiffers() override { return screenMode_ == kPlaying; }
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;
    void WindowHidden(bool hidden) override;
    void TimeLost(uint32_t fromMs, uint32_t toMs) override { tally_.Skip(fromMs, toMs); }

    // A new game at the difficulty of the settings.
    void BtnStart_OnClick();
    // Back to the game kept.
    void BtnReturn_OnClick();
    void BtnHiScore_OnClick();
    void BtnHiScoreReturn_OnClick();
    // The settings dialog on the space page; confirmed settings start a new game.
    void BtnOption_OnClick();
    // Keeps the difficulty reached, then asks the exit question: back to the main menu or the end.
    void BtnExit_OnClick();

    int32_t ScreenMode() const { return screenMode_; }
    const SpaceField& Field() const { return field_; }
    const results::GameResult& LastResult() const { return result_; }
    // Tests: set up a situation in the game.
    SpaceField& EditField() { return field_; }

    std::shared_ptr<AniButton> BtnStart;
    std::shared_ptr<AniButton> BtnReturn;
    std::shared_ptr<AniButton> BtnHiScore;
    std::shared_ptr<AniButton> BtnOption;
    std::shared_ptr<AniButton> BtnExit;
    std::shared_ptr<AniButton> BtnHiScoreReturn;

private:
    // The buttons every mouse event walks, in the order they get a press.
    MouseRouting::Table<AniButton, 5> Buttons() const;
    SpaceShootGame();
    void CreateButtons();
    // Start enabled and Return disabled while no game is kept; the other way round during one.
    void SetGameButtons(bool inGame);
    void PlayEffects(uint32_t effects);
    // The difficulty reached into the settings, saved.
    void StoreDifficulty();
    // A score that makes the table is entered with the player's name and the table saved; the
    // score is cleared in every case.
    void ShowHighScoreEntry();
    void GameOver();

    int32_t screenMode_ = kMenu;
    SpaceField field_;
    // What the player typed in the current game, and the figures of the last one.
    results::Tally tally_;
    results::GameResult result_;
    int32_t startSpeed_ = 0;  // the speed setting the current game started at
    int32_t endScore_ = 0;    // what the game-over screen shows: the table entry clears the field's score
    SpacePainter painter_;
};
