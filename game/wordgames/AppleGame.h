#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/Surface.h"
#include "wordgames/Apple.h"
#include "wordgames/LetterGameFrame.h"

// The falling-apples letter game: five apples carrying distinct capital letters fall down the
// screen, and typing a letter catches its apple. Enough apples caught pass the round, too many
// on the ground lose it.
class AppleGame final : public LetterGameFrame {
public:
    static constexpr int32_t kApples = 5;
    static constexpr float kGround = 400.0f;  // an apple below this line has fallen
    static constexpr uint8_t kFallenFrames = 15;
    static constexpr int32_t kBasketPlaces = 8;

    struct Place {
        int32_t x;
        int32_t y;
    };

    static std::shared_ptr<AppleGame> Create();
    ~AppleGame() override;

    bool UpDateScreen() override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;

    std::array<Apple, kApples>& Apples() { return apples_; }
    int32_t Caught() const { return caught_; }
    int32_t Missed() const { return missed_; }
    int32_t SpeedRange() const { return speedRange_; }
    // How many small apples the basket shows.
    int32_t BasketFill() const;
    static Place BasketPlace(int32_t index);

protected:
    void LoadPictures() override;
    void StartRound() override;
    void StepRound() override;
    RoundOutcome Outcome() const override;
    void RaiseLevel() override;
    std::string HistoryLevel() const override;

private:
    AppleGame();
    // A new column, height above the screen, letter and speed; `height` is the random span above
    // the top edge.
    void ThrowIn(Apple& apple, float height) const;
    void DrawApples();
    // Level, apples caught of those needed, apples fallen of those allowed.
    void DrawStatusLine();

    platform::SurfacePtr background_;
    platform::SurfacePtr apple_;
    platform::SurfacePtr smallApple_;
    platform::SurfacePtr fallenApple_;
    platform::SurfacePtr basket_;
    std::array<Apple, kApples> apples_{};
    int32_t caught_ = 0;
    int32_t missed_ = 0;
    int32_t speedRange_ = 0;
    int32_t level_ = 0;  // the level the round plays, whatever the settings say meanwhile
    int32_t failCount_ = 0;
    int32_t passCount_ = 0;
};
