#include "wordgames/SpaceShootGame.h"

#include <optional>
#include <string>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/KeyMap.h"
#include "platform/Message.h"
#include "platform/Random.h"
#include "results/HiScore.h"
#include "results/ResultBook.h"
#include "results/ResultPanel.h"
#include "shell/ExitQuestion.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/NameBox.h"
#include "shell/PointerNotice.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"
#include "wordgames/LetterPool.h"

namespace {

constexpr int32_t kButtonFrames = 3;
constexpr int32_t kMenuLeft = 257;
constexpr int32_t kArialHeight = 21;
constexpr int32_t kSetupPage = 4;
constexpr int32_t kNameChars = 8;
constexpr const char16_t* kDefaultName = u"英雄";

constexpr const char* kEffectSounds[SpaceField::kEffectSlots] = {"SPACE_SHOOT", "SPACE_BLAST", "SPACE_PLANEOUT",
                                                                 "SPACE_WORDOUT", "UPGRADE"};

}  // namespace

std::shared_ptr<SpaceShootGame> SpaceShootGame::Create() {
    return std::shared_ptr<SpaceShootGame>(new SpaceShootGame());
}

SpaceShootGame::SpaceShootGame() {
    if (g_Sound) {
        g_Sound->LoadLoop("SPACE_BG");
        for (int16_t slot = 0; slot < SpaceField::kEffectSlots; ++slot) g_Sound->LoadSound(kEffectSounds[slot], slot);
    }
    if (auto table = g_HiScore) table->LoadTable(kHiScoreFile);
    ResetLetterPool();
    if (g_ArialFont) g_ArialFont->SetHeight(kArialHeight);
    // Leaving before the first game keeps the settings as they are.
    field_.TakeDifficulty(g_Settings);
    RestoreRes();
}

SpaceShootGame::~SpaceShootGame() {
    if (!g_Sound) return;
    g_Sound->RewindLoop();
    g_Sound->StopLoop();
    for (int16_t slot = 0; slot < SpaceField::kEffectSlots; ++slot) g_Sound->StopSound(slot);
}

bool SpaceShootGame::Run() {
    screenMode_ = kMenu;
    return true;
}

bool SpaceShootGame::RestoreRes() {
    if (auto setup = g_SetupDlg) setup->SetPictures("APPLE_SETUP", "DEFAULT", "OK", "CANCEL");
    painter_.Load();
    CreateButtons();
    return true;
}

void SpaceShootGame::CreateButtons() {
    // Made once; a later reload gives them their pictures again and keeps whether they are
    // enabled, so a game kept survives a lost display.
    const bool first = !BtnStart;
    if (first) {
        BtnStart = AniButton::Create([this] { BtnStart_OnClick(); });
        BtnReturn = AniButton::Create([this] { BtnReturn_OnClick(); });
        BtnHiScore = AniButton::Create([this] { BtnHiScore_OnClick(); });
        BtnOption = AniButton::Create([this] { BtnOption_OnClick(); });
        BtnExit = AniButton::Create([this] { BtnExit_OnClick(); });
        BtnHiScoreReturn = AniButton::Create([this] { BtnHiScoreReturn_OnClick(); });
    }
    struct Place {
        AniButton* button;
        const char* picture;
        int32_t left, top;
    };
    const Place places[] = {
        {BtnStart.get(), "SPACE_START", kMenuLeft, 287},     {BtnReturn.get(), "SPACE_RETURN", kMenuLeft, 287},
        {BtnHiScore.get(), "SPACE_HISCORE", kMenuLeft, 332}, {BtnOption.get(), "SPACE_OPTION", kMenuLeft, 377},
        {BtnExit.get(), "SPACE_EXIT", kMenuLeft, 422},       {BtnHiScoreReturn.get(), "SPACE_RETURN", 500, 520}};
    for (const Place& place : places) {
        place.button->SetPicture(place.picture, kButtonFrames, false);
        place.button->Left = place.left;
        place.button->Top = place.top;
    }
    if (first) SetGameButtons(false);
}

void SpaceShootGame::SetGameButtons(bool inGame) {
    BtnStart->SetEnabled(!inGame);
    BtnReturn->SetEnabled(inGame);
}

// The buttons of the mode shown; the game itself takes no clicks.
MouseRouting::Table<AniButton, 5> SpaceShootGame::Buttons() const {
    if (screenMode_ == kMenu) return {BtnStart, BtnReturn, BtnHiScore, BtnExit, BtnOption};
    if (screenMode_ == kHiScoreView) return {BtnHiScoreReturn};
    return {};
}

bool SpaceShootGame::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Down(Button, X, Y, Buttons());
    return true;
}

bool SpaceShootGame::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Up(Button, X, Y, Buttons());
    return true;
}

bool SpaceShootGame::MouseMove(int32_t X, int32_t Y) {
    MouseRouting::Move(X, Y, Buttons());
    return true;
}

void SpaceShootGame::WindowHidden(bool hidden) { tally_.HoldWhileHidden(hidden, platform::Clock::Now()); }

bool SpaceShootGame::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    if (KeyCode == platform::kKeyEsc) {
        // A game left for the menu stands still, and so does its typing time.
        if (screenMode_ == kPlaying) tally_.Hold(platform::Clock::Now());
        screenMode_ = kMenu;
        PointerNotice::Tell(*this);
    } else if (screenMode_ == kPlaying && !platform::IsModifierKey(static_cast<uint32_t>(KeyCode))) {
        const int32_t missed = field_.MissedKeys();
        PlayEffects(field_.Key(KeyCode));
        if (KeyCode >= 'A' && KeyCode <= 'Z')
            tally_.Count(static_cast<char16_t>(KeyCode), field_.MissedKeys() == missed, platform::Clock::Now());
    }
    return true;
}

void SpaceShootGame::PlayEffects(uint32_t effects) {
    if (!g_Sound) return;
    for (int16_t slot = 0; slot < SpaceField::kEffectSlots; ++slot) {
        if ((effects & (1u << slot)) != 0) g_Sound->PlaySound(slot);
    }
}

bool SpaceShootGame::UpDateGame() {
    if (screenMode_ != kPlaying) return true;
    PlayEffects(field_.Tick(g_FrameElapsed));
    if (field_.Over()) GameOver();
    return true;
}

void SpaceShootGame::GameOver() {
    screenMode_ = kGameOver;
    endScore_ = field_.Score();
    result_ = results::ResultBook::Record(
        results::GameResult::Of(tally_, platform::Clock::Now(), "space", std::to_string(startSpeed_), "over"));
    ShowHighScoreEntry();
    StoreDifficulty();
    SetGameButtons(false);
}

void SpaceShootGame::ShowHighScoreEntry() {
    const int32_t score = field_.Score();
    auto table = g_HiScore;
    if (table && table->Qualifies(score)) {
        const std::optional<std::u16string> answer =
            NameBox::Create()->Show(u"高分英雄", u"请留下您的大名", kDefaultName, kNameChars);
        std::u16string name = answer.value_or(std::u16string());
        if (name.size() > static_cast<size_t>(kNameChars)) name.resize(kNameChars);
        if (name.empty()) name = kDefaultName;
        table->Enter(kHiScoreFile, name, score);
    }
    field_.ClearScore();
}

void SpaceShootGame::StoreDifficulty() {
    // Saved only when it changed: a file left as it was stays as it is.
    const SettingsRecord before = g_Settings;
    field_.StoreDifficulty(g_Settings);
    if (g_Settings.Field != before.Field) SaveSettings(kSettingsFile);
}

void SpaceShootGame::BtnStart_OnClick() {
    if (g_Sound) g_Sound->PlayLoop();
    // The history names the speed the game started at: settings changed meanwhile and answered
    // "not now" leave the game as it was.
    startSpeed_ = g_Settings.Field[kSpaceSpeed];
    field_.NewGame(g_Settings);
    tally_.Reset();
    SetGameButtons(true);
    screenMode_ = kPlaying;
    if (g_Graphic) g_Graphic->SetFont(g_ArialFont);
}

void SpaceShootGame::BtnReturn_OnClick() {
    tally_.GoOn(platform::Clock::Now());
    screenMode_ = kPlaying;
}

void SpaceShootGame::BtnHiScore_OnClick() {
    screenMode_ = kHiScoreView;
    PointerNotice::Tell(*this);
    if (g_Graphic) g_Graphic->SetFont(g_ArialFont);
}

void SpaceShootGame::BtnHiScoreReturn_OnClick() {
    screenMode_ = kMenu;
    PointerNotice::Tell(*this);
}

void SpaceShootGame::BtnOption_OnClick() {
    auto setup = g_SetupDlg;
    if (!setup) return;
    if (setup->Show(kSetupPage, 173, 143)) {
        BtnStart_OnClick();
    } else if (BtnStart->Enabled()) {
        // Settings saved without taking effect now still count for what leaving keeps.
        field_.TakeDifficulty(g_Settings);
    }
}

void SpaceShootGame::BtnExit_OnClick() {
    StoreDifficulty();
    ExitQuestion::LeaveGame();
}

bool SpaceShootGame::UpDateScreen() {
    switch (screenMode_) {
    case kMenu:
        painter_.DrawMenu();
        (BtnStart->Enabled() ? BtnStart : BtnReturn)->Draw();
        BtnOption->Draw();
        BtnHiScore->Draw();
        BtnExit->Draw();
        break;
    case kHiScoreView:
        painter_.DrawHiScores(g_HiScore ? *g_HiScore : HiScore());
        BtnHiScoreReturn->Draw();
        break;
    case kPlaying:
        platform::Random::SeedFromClock();
        painter_.DrawPlay(field_);
        break;
    case kGameOver:
        painter_.DrawGameOver(field_, endScore_);
        if (g_Graphic) results::ResultPanel::DrawBoxed(*g_Graphic, g_SongFont, result_, 310, 395, 180);
        break;
    default:
        break;
    }
    return true;
}
