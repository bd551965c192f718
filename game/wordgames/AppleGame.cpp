#include "wordgames/AppleGame.h"

#include <algorithm>
#include <cmath>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Random.h"
#include "platform/Round.h"
#include "results/WeakKeys.h"
#include "shell/Globals.h"
#include "shell/Settings.h"
#include "widgets/AniButton.h"
#include "wordgames/LetterPool.h"

namespace {

constexpr int16_t kCatchSound = 0;
constexpr uint32_t kLetterColor = 0xFFFFFF;
constexpr int32_t kStatusX = 300, kStatusY = 560;
constexpr int32_t kBasketPlaces = AppleGame::kBasketPlaces;
constexpr AppleGame::Place kBasket[kBasketPlaces] = {{641, 515}, {680, 515}, {719, 515}, {660, 500},
                                                     {700, 500}, {680, 485}, {645, 490}, {715, 490}};

LetterGameLook MakeLook() {
    LetterGameLook look;
    look.buttons[LetterGameLook::kStart] = {"PUBLIC_START", 4, 196, 524};
    look.buttons[LetterGameLook::kEnd] = {"PUBLIC_END", 4, 162, 482};
    look.buttons[LetterGameLook::kPause] = {"PUBLIC_PAUSE", 4, 117, 512};
    look.buttons[LetterGameLook::kSetup] = {"PUBLIC_SETUP", 4, 149, 550};
    look.buttons[LetterGameLook::kExit] = {"PUBLIC_EXIT", 3, 15, 535};
    look.drawOrder = {LetterGameLook::kExit, LetterGameLook::kSetup, LetterGameLook::kPause, LetterGameLook::kEnd,
                      LetterGameLook::kStart};
    look.setupBackground = "APPLE_SETUP";
    look.setupPage = 1;
    look.roundEnd = {"APPLE_DLG_BG", "APPLE_DLG_REPLAY", "APPLE_DLG_NEXT", "APPLE_DLG_END"};
    look.historyName = "apple";
    return look;
}

}  // namespace

std::shared_ptr<AppleGame> AppleGame::Create() { return std::shared_ptr<AppleGame>(new AppleGame()); }

AppleGame::AppleGame() : LetterGameFrame(MakeLook()) {
    if (g_Sound) {
        g_Sound->LoadLoop("APPLE_BG");
        g_Sound->LoadSound("APPLE_IN", kCatchSound);
    }
    if (g_ArialFont) g_ArialFont->SetHeight(35);
    ResetLetterPool();
    RestoreRes();
}

AppleGame::~AppleGame() {
    if (g_Sound) {
        g_Sound->StopLoop();
        g_Sound->StopSound(kCatchSound);
    }
}

void AppleGame::LoadPictures() {
    background_ = LoadGamePicture("APPLE_BACKGROUND");
    apple_ = LoadGamePicture("APPLE_NORMAL");
    smallApple_ = LoadGamePicture("APPLE_SMALL");
    fallenApple_ = LoadGamePicture("APPLE_BAD");
    basket_ = LoadGamePicture("APPLE_BASKET");
}

void AppleGame::ThrowIn(Apple& apple, float height) const {
    using platform::Random;
    apple.FallenFrames = 0;
    apple.X = static_cast<float>(std::floor(Random::Next() * 10) * 70 + 50);
    apple.Y = static_cast<float>(-(Random::Next() * height) - 71);
    apple.Letter = DrawLetter(apple.Letter);
    apple.Speed = static_cast<float>(Random::Next() * speedRange_ + 1);
    apple.State = Apple::kFalling;
}

void AppleGame::StartRound() {
    tally_.Reset();
    results::WeakKeys::PrepareRound();
    caught_ = 0;
    missed_ = 0;
    // Half-way values round to even; levels 0..9 give 0, 0, 1, 1, 2, 2, 2, 3, 3, 4.
    level_ = g_Settings.Field[kAppleLevel];
    speedRange_ = static_cast<int32_t>(std::nearbyint(level_ * 0.4));
    passCount_ = g_Settings.Field[kApplePass];
    failCount_ = g_Settings.Field[kAppleFail];
    for (Apple& apple : apples_) ThrowIn(apple, 142);
}

void AppleGame::StepRound() {
    // Apples thrown in during one frame share one reseeding, so two of them never get the same
    // column, height and speed from the same seed.
    bool reseeded = false;
    for (Apple& apple : apples_) {
        switch (apple.State) {
        case Apple::kFalling:
            apple.Y += apple.Speed;
            if (apple.Y > kGround) {
                apple.State = Apple::kFallen;
                ++missed_;
            }
            break;
        case Apple::kFallen:
            if (++apple.FallenFrames >= kFallenFrames) apple.State = Apple::kWaiting;
            break;
        case Apple::kWaiting:
            if (!reseeded) platform::Random::SeedFromClock();
            reseeded = true;
            ThrowIn(apple, 71);
            break;
        default:
            break;
        }
    }
}

LetterGameFrame::RoundOutcome AppleGame::Outcome() const {
    if (caught_ >= passCount_) return RoundOutcome::Passed;
    if (missed_ >= failCount_) return RoundOutcome::Lost;
    return RoundOutcome::Running;
}

std::string AppleGame::HistoryLevel() const { return std::to_string(level_); }

void AppleGame::RaiseLevel() {
    int32_t& level = g_Settings.Field[kAppleLevel];
    level = std::min(level + 1, 9);
}

bool AppleGame::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    if (Halted) return true;
    bool hit = false;
    for (Apple& apple : apples_) {
        if (apple.State != Apple::kFalling || apple.Letter.empty() || apple.Letter[0] != KeyCode) continue;
        if (g_Sound) g_Sound->PlaySound(kCatchSound);
        ++caught_;
        apple.State = Apple::kWaiting;
        hit = true;
        break;
    }
    if (KeyCode >= 'A' && KeyCode <= 'Z') CountKey(static_cast<char16_t>(KeyCode), hit);
    return true;
}

int32_t AppleGame::BasketFill() const {
    const int32_t perApple = passCount_ / kBasketPlaces;
    if (perApple <= 0) return 0;
    return std::clamp(caught_ / perApple, 0, kBasketPlaces);
}

AppleGame::Place AppleGame::BasketPlace(int32_t index) { return kBasket[index]; }

void AppleGame::DrawApples() {
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kLetterColor);
    for (const Apple& apple : apples_) {
        if (apple.State == Apple::kFalling && apple_) {
            platform::Rect src{0, 0, 63, 71};
            g_Graphic->DrawKeyedClipped(platform::Round(apple.X), platform::Round(apple.Y), *apple_, src);
            g_Graphic->DrawText(platform::Round(apple.X + 20), platform::Round(apple.Y + 15), apple.Letter);
        } else if (apple.State == Apple::kFallen && fallenApple_) {
            g_Graphic->DrawKeyed(platform::Round(apple.X - 37), platform::Round(apple.Y), *fallenApple_,
                                 g_FullScreenRect);
        }
    }
    g_Graphic->EndText();
    if (smallApple_) {
        for (int32_t i = BasketFill() - 1; i >= 0; --i) {
            g_Graphic->DrawKeyed(kBasket[i].x, kBasket[i].y, *smallApple_, g_FullScreenRect);
        }
    }
    if (basket_) g_Graphic->DrawKeyed(610, 460, *basket_, g_FullScreenRect);
}

bool AppleGame::UpDateScreen() {
    if (!g_Graphic) return true;
    SelectArialFont();
    if (background_) g_Graphic->DrawOpaque(0, 0, *background_, g_FullScreenRect);
    if (!Halted) DrawApples();
    if (!BtnStart->Enabled()) DrawStatusLine();
    DrawPausedNotice(400, 230);
    DrawButtons();
    return true;
}

void AppleGame::DrawStatusLine() {
    using N = FieldNotice;
    // Numbered as the settings number it.
    const std::u16string line = u"等级 " + N::Number(level_) + u"　接住 " + N::Number(caught_) + u"/" +
                                N::Number(passCount_) + u"　落地 " + N::Number(missed_) + u"/" + N::Number(failCount_);
    notice_.DrawStatusLine(kStatusX, kStatusY, line);
}
