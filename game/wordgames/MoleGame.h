#pragma once
#include <cstdint>
#include <memory>

#include "platform/Surface.h"
#include "wordgames/LetterGameFrame.h"
#include "wordgames/MoleField.h"

// The whack-a-mole letter game: four moles come up at ten places, each showing a capital
// letter, and typing the letter hits the mole. A mole that stays up too long runs off with a
// radish; the round is passed by lasting the set minutes and lost with the last radish. Its exit
// button goes back to the main menu.
class MoleGame final : public LetterGameFrame {
public:
    static std::shared_ptr<MoleGame> Create();
    ~MoleGame() override;

    bool UpDateScreen() override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;

    // The music plays on without rewinding; the font is left as it is.
    void BtnStart_OnClick() override;
    // Pausing stops the music; going on does not start it again.
    void BtnPause_OnClick() override;
    void BtnEnd_OnClick() override;
    // Back to the main menu at once.
    // A confirmed dialog starts a new round; the font is left as it is.
    void BtnSetup_OnClick() override;

    const MoleField& Field() const { return field_; }

protected:
    void LoadPictures() override;
    void StartRound() override;
    void StepRound() override;
    RoundOutcome Outcome() const override;
    void RaiseLevel() override;
    std::string HistoryLevel() const override;
    bool ReplayAfterLoss(int32_t result) const override;

private:
    MoleGame();
    void DrawStatus();
    void DrawMoles();

    platform::SurfacePtr background_;
    platform::SurfacePtr radish_;
    platform::SurfacePtr appear_;
    platform::SurfacePtr normal_;
    platform::SurfacePtr hit_;
    platform::SurfacePtr hide_;
    MoleField field_;
    int32_t interval_ = 0;  // the appear interval the round plays, whatever the settings say meanwhile
};
