#include "menu/SwitchBoard.h"

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SoundEngine.h"
#include "menu/RecordsScreen.h"
#include "menu/SpeakerButton.h"
#include "platform/KeyMap.h"
#include "police/PoliceGame.h"
#include "shell/ExitQuestion.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/ScreenFactory.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"
#include "wordgames/AppleGame.h"
#include "wordgames/FrogGame.h"
#include "wordgames/MoleGame.h"
#include "wordgames/SpaceShootGame.h"

namespace {

template <typename Screen>
std::shared_ptr<IGameInterface> Make() {
    return Screen::Create();
}

struct GameEntry {
    const char* picture;
    int32_t top;
    int32_t splash;                // picture index shown while the pointer is on the button
    ScreenFactory::Screen screen;  // the game the button opens
    ScreenFactory::Maker create;
};

// In the order of SwitchBoard::Game; the digit keys 1..5 follow it too.
constexpr GameEntry kGameTable[SwitchBoard::kGames] = {
    {"MAIN_POLICE", 250, 5, ScreenFactory::kPolice, &Make<PoliceGame>},    // key 1
    {"MAIN_SPACE", 300, 4, ScreenFactory::kSpace, &Make<SpaceShootGame>},  // key 2
    {"MAIN_MOLE", 350, 3, ScreenFactory::kMole, &Make<MoleGame>},          // key 3
    {"MAIN_FROG", 400, 2, ScreenFactory::kFrog, &Make<FrogGame>},          // key 4
    {"MAIN_APPLE", 450, 1, ScreenFactory::kApple, &Make<AppleGame>},       // key 5
};

constexpr const char* kSplashes[6] = {"MAIN_NONE",        "MAIN_APPLE_SPLASH", "MAIN_FROG_SPLASH",
                                      "MAIN_MOLE_SPLASH", "MAIN_SPACE_SPLASH", "MAIN_POLICE_SPLASH"};

constexpr int32_t kButtonLeft = 62;
constexpr int32_t kKeyFirstGame = '1';
constexpr int32_t kKeyRecords = '6';

}  // namespace

void SwitchBoard::RegisterScreens() {
    // The program starts on this menu or on the police game: their first frames' pictures are
    // decoded while the window opens.
    std::vector<std::string> first{kSplashes[0], "MAIN_QUIT", "MAIN_RECORDS"};
    for (const GameEntry& entry : kGameTable) first.emplace_back(entry.picture);
    ScreenFactory::Register(ScreenFactory::kMenu, &Make<SwitchBoard>, std::move(first));
    for (const GameEntry& entry : kGameTable) {
        ScreenFactory::Register(
            entry.screen, entry.create,
            entry.screen == ScreenFactory::kPolice ? PoliceGame::FirstPictures() : std::vector<std::string>{});
    }
}

std::shared_ptr<SwitchBoard> SwitchBoard::Create() { return std::shared_ptr<SwitchBoard>(new SwitchBoard()); }

SwitchBoard::SwitchBoard() { RestoreRes(); }

bool SwitchBoard::RestoreRes() {
    for (size_t i = 0; i < pictures_.size(); ++i) pictures_[i] = KeyedPicture(g_Graphic.get(), kSplashes[i], false);
    for (int i = 0; i < kGames; ++i) {
        const Game game = static_cast<Game>(i);
        auto button = AniButton::Create([this, game] { Game_OnClick(game); });
        button->OnEnter = [this, game] { Game_OnEnter(game); };
        button->OnLeave = [this, game] { Game_OnLeave(game); };
        button->SetPicture(kGameTable[i].picture, 3, true);
        button->Left = kButtonLeft;
        button->Top = kGameTable[i].top;
        buttons_[i] = button;
    }
    BtnPolice = buttons_[kPolice];
    BtnSpace = buttons_[kSpace];
    BtnMole = buttons_[kMole];
    BtnFrog = buttons_[kFrog];
    BtnApple = buttons_[kApple];
    BtnQuite = AniButton::Create([this] { BtnQuite_OnClick(); });
    BtnQuite->SetPicture("MAIN_QUIT", 3, false);
    BtnQuite->Left = 550;
    BtnQuite->Top = 533;
    BtnRecords = AniButton::Create([this] { BtnRecords_OnClick(); });
    BtnRecords->SetPicture("MAIN_RECORDS", 3, false);
    BtnRecords->Left = 290;
    BtnRecords->Top = 538;
    BtnSound = SpeakerButton::Create();
    return true;
}

bool SwitchBoard::UpDateScreen() {
    if (!g_Graphic) return true;
    if (const auto& picture = pictures_[static_cast<size_t>(highlighted_)]) {
        g_Graphic->DrawOpaque(0, 0, *picture, g_FullScreenRect);
    }
    for (const auto& button : {BtnPolice, BtnSpace, BtnMole, BtnFrog, BtnApple, BtnRecords, BtnQuite}) button->Draw();
    BtnSound->Draw();
    return true;
}

MouseRouting::Table<AniButton, 7> SwitchBoard::Buttons() const {
    return {BtnApple, BtnFrog, BtnMole, BtnSpace, BtnPolice, BtnRecords, BtnQuite};
}

bool SwitchBoard::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Down(Button, X, Y, Buttons());
    MouseRouting::Down(Button, X, Y, BtnSound);
    return true;
}

bool SwitchBoard::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Up(Button, X, Y, Buttons());
    MouseRouting::Up(Button, X, Y, BtnSound);
    return true;
}

bool SwitchBoard::MouseMove(int32_t X, int32_t Y) {
    MouseRouting::Move(X, Y, Buttons());
    MouseRouting::Move(X, Y, BtnSound);
    return true;
}

bool SwitchBoard::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    // The digits of the number pad choose as the row above the letters does.
    constexpr auto kPadOne = static_cast<int32_t>(platform::VK_NUMPAD0) + 1;
    if (KeyCode >= kPadOne && KeyCode < kPadOne + 9) KeyCode = KeyCode - kPadOne + '1';
    if (KeyCode == platform::kKeyEsc) {
        BtnQuite_OnClick();
    } else if (KeyCode >= kKeyFirstGame && KeyCode < kKeyFirstGame + kGames) {
        Game_OnClick(static_cast<Game>(KeyCode - kKeyFirstGame));
    } else if (KeyCode == kKeyRecords) {
        BtnRecords_OnClick();
    }
    return true;
}

void SwitchBoard::Game_OnClick(Game game) { MakeCurrentScreen(kGameTable[game].create()); }

void SwitchBoard::Game_OnEnter(Game game) {
    if (g_Sound) g_Sound->PlayGlide();
    highlighted_ = kGameTable[game].splash;
}

void SwitchBoard::Game_OnLeave(Game game) {
    // A move straight onto another button may have highlighted that one already.
    if (highlighted_ == kGameTable[game].splash) highlighted_ = 0;
}

void SwitchBoard::BtnQuite_OnClick() { ExitQuestion::QuitProgram(); }

void SwitchBoard::BtnRecords_OnClick() { MakeCurrentScreen(RecordsScreen::Create()); }
