#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Surface.h"
#include "results/GameResult.h"
#include "results/Tally.h"
#include "shell/IGameInterface.h"
#include "widgets/MouseRouting.h"
#include "wordgames/FieldNotice.h"

class AniButton;

// What the letter and word games look like around their play: the five buttons' strips and
// places, the settings page and picture, and the round-end dialog's pictures.
struct LetterGameLook {
    struct Button {
        std::string picture;
        int32_t frames = 4;
        int32_t left = 0;
        int32_t top = 0;
    };
    enum Slot : int { kStart, kPause, kEnd, kSetup, kExit };

    std::array<Button, 5> buttons;  // by Slot
    std::array<Slot, 5> drawOrder{kExit, kSetup, kPause, kEnd, kStart};
    std::string setupBackground;
    int32_t setupPage = 1;
    // Round-end dialog: background, replay, next, end.
    std::array<std::string, 4> roundEnd;
    // The game's name in the history of results.
    std::string historyName;
};

// The frame the apple, mole and frog games share: Halted, the five buttons and their handlers,
// the mouse routing, the pictures of the dialogs, and the round-end dialog. A game supplies its
// look, its pictures, its round and its level rule through the hooks below, and overrides a
// handler where it behaves differently.
class LetterGameFrame : public IGameInterface {
public:
    explicit LetterGameFrame(LetterGameLook look);
    ~LetterGameFrame() override;

    // Sets Halted: a game screen always opens idle.
    bool Run() override;
    // Gives the settings dialog and the round-end dialog their pictures,
    // loads the game's pictures and creates the buttons (later calls reload their pictures and
    // keep their state).
    bool RestoreRes() override;
    void WindowHidden(bool hidden) override;
    void TimeLost(uint32_t fromMs, uint32_t toMs) override { tally_.Skip(fromMs, toMs); }
    // While a round runs: the game's step, then the round-end test.
    bool UpDateGame() override;
    // Before a round, while it is paused and after it: nothing moves.
    bool NextFrameDiffers() override { return !Halted; }
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;

    // Starts a round: the buttons of a running round, Halted cleared, the game's round reset,
    // the Arial font selected, the background music rewound and played looping.
    virtual void BtnStart_OnClick();
    // Pauses or resumes the round; the music stops or plays again.
    virtual void BtnPause_OnClick();
    // Ends the round: the buttons of an idle screen, Halted set, the music stopped.
    virtual void BtnEnd_OnClick();
    // The exit question: back to the main menu or the end of the program.
    virtual void BtnExit_OnClick();
    // The settings dialog on this game's page; confirmed settings start a new round.
    virtual void BtnSetup_OnClick();

    bool IsHalted() const { return Halted; }
    const results::GameResult& LastResult() const { return result_; }
    // A round was started and is paused: its field is hidden and "暂停" shows instead.
    bool IsPaused() const;
    const LetterGameLook& Look() const { return look_; }

    std::shared_ptr<AniButton> BtnStart;
    std::shared_ptr<AniButton> BtnPause;
    std::shared_ptr<AniButton> BtnEnd;
    std::shared_ptr<AniButton> BtnExit;
    std::shared_ptr<AniButton> BtnSetup;

protected:
    enum class RoundOutcome { Running, Passed, Lost };

    // The time a round stands paused, or under a dialog (the exit question, the settings), is no
    // typing time: held when that begins, counted again when it ends unless the round is still
    // paused or over.
    void HoldTypingTime();
    void ResumeTypingTime();

    // Loads the game's own pictures (colour key black).
    virtual void LoadPictures() = 0;
    // Resets the round's counters and objects (called by BtnStart_OnClick).
    virtual void StartRound() = 0;
    // One frame of play while the round runs.
    virtual void StepRound() {}
    // Tested after every step; the order of the tests is the game's.
    virtual RoundOutcome Outcome() const { return RoundOutcome::Running; }
    // Makes the game harder in g_Settings after "next" (saving is the frame's).
    virtual void RaiseLevel() {}
    // Whether an answer to the lost-round dialog starts a new round (otherwise the round ends).
    virtual bool ReplayAfterLoss(int32_t result) const;
    // Before a round started by confirmed settings.
    virtual void SettingsConfirmed() {}
    // The level, course or round the history of results names.
    virtual std::string HistoryLevel() const { return {}; }
    // One counted key of the round (a game resets the tally when its round starts).
    void CountKey(char16_t expected, bool hit);
    // A wrong key that is no letter of the round.
    void CountStrayKey();

    // The round-end dialogs and their answers.
    void ShowPassed();
    void ShowLost();
    // The buttons of a running round (true) or an idle screen (false).
    void SetRoundButtons(bool running);
    void DrawButtons();
    static void SelectArialFont();
    // A picture of the game from the picture library; keyed pictures take black as transparent.
    static platform::SurfacePtr LoadGamePicture(const char* name, bool keyed = true);

    // While paused, "暂停" over the middle of the field at (centreX, centreY).
    void DrawPausedNotice(int32_t centreX, int32_t centreY);

    bool Halted = true;
    results::Tally tally_;
    FieldNotice notice_;

private:
    // The buttons every mouse event walks, in the order they get a press.
    MouseRouting::Table<AniButton, 5> Buttons() const;
    void CreateButtons();
    // Hands the round's figures to the history and to the round-end dialog.
    void KeepResult(const char* outcome);

    LetterGameLook look_;
    results::GameResult result_;
};
