#pragma once
#include <cstdint>
#include <memory>

#include "platform/Surface.h"
#include "wordgames/FrogRiver.h"
#include "wordgames/IDict.h"
#include "wordgames/LetterGameFrame.h"

// The word game of a frog crossing a river on drifting leaves: typing a word of the next row of
// leaves makes the frog jump onto that leaf, typing the far bank's word completes a crossing,
// and five crossings pass the round. The game is played with typed characters; there is no way
// to lose.
class FrogGame final : public LetterGameFrame {
public:
    static std::shared_ptr<FrogGame> Create();
    ~FrogGame() override;

    // Opens idle and loads the course the settings name.
    bool Run() override;
    bool UpDateScreen() override;
    // Every key clicks, even while no round runs.
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;
    bool KeyPress(int32_t KeyAscii) override;

    // Does nothing while the course has no words.
    void BtnStart_OnClick() override;

    const FrogRiver& River() const { return river_; }
    const IDict& Dictionary() const { return dict_; }

protected:
    void LoadPictures() override;
    void StartRound() override;
    void StepRound() override;
    RoundOutcome Outcome() const override;
    void RaiseLevel() override;
    std::string HistoryLevel() const override;
    void SettingsConfirmed() override;

private:
    FrogGame();
    void DrawRiver();
    void DrawWord(int32_t number);
    // Level and crossings made of those needed.
    void DrawStatusLine();
    void LoadChosenCourse();

    IDict dict_{FrogRiver::kLeafLetters};
    FrogRiver river_;
    // The course loaded and the difficulty the round plays, whatever the settings say meanwhile.
    int32_t course_ = 0;
    int32_t level_ = 0;
    // The course last loaded or tried, loaded or not.
    int32_t triedCourse_ = -1;
    platform::SurfacePtr background_;
    platform::SurfacePtr back1_, back2_;
    platform::SurfacePtr front1_, front2_;
    platform::SurfacePtr leaf_;
};
