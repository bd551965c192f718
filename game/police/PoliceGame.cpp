#include "police/PoliceGame.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"
#include "widgets/MessageDlg.h"
#include "widgets/MouseRouting.h"

namespace {
// Effect slots of the sound engine.
constexpr int16_t kSoundPoliceEntry = 0;
constexpr int16_t kSoundThiefEntry = 1;
constexpr int16_t kSoundThiefBrake = 2;
constexpr int16_t kSoundThiefTurn = 3;
constexpr int16_t kSoundPoliceCatch = 4;
constexpr int16_t kSoundThiefAway = 5;
constexpr int16_t kSoundType = 6;
constexpr const char* kEffects[] = {
    "PT_POLICE_ENTRY", "PT_THIEF_ENTRY", "PT_THIEF_BRAKE", "PT_THIEF_TURN", "PT_POLICE_CATCH", "PT_THIEF_AWAY", "TYPE"};
constexpr int16_t kEffectCount = 7;

constexpr int32_t kKeyEsc = 27;
constexpr int32_t kKeyEnter = 13;
constexpr int32_t kStatusFrames = 200;
constexpr int32_t kWrongKeyMs = 150;

std::string TextFolderPath() { return platform::ProgramPath("\\Data\\English\\E_General") + "/"; }
}  // namespace

std::shared_ptr<PoliceGame> PoliceGame::Create() { return std::shared_ptr<PoliceGame>(new PoliceGame()); }

PoliceGame::PoliceGame() : textFolder_(TextFolderPath()), renderer_(pictures_, buttons_, textList_, race_) {
    // The text list.
    textList_.Load(textFolder_);
    NetConnect = std::make_unique<NetEngine>();
    // The race font.
    if (g_ArialFont) g_ArialFont->SetHeight(19);
    // The sprite frame and route tables are part of the race track. Pictures and buttons:
    WireButtons();
    backgroundName_ = "POLICE_MAINMENU_BG";
    RestoreRes();
    // Default choices.
    BtnPolice_OnClick();
    BtnCar0_OnClick();
    BtnBike1_OnClick();
    // Sounds.
    if (g_Sound) {
        g_Sound->LoadLoop("LAMISTER_BG");
        for (int16_t i = 0; i < kEffectCount; ++i) g_Sound->LoadSound(kEffects[i], i);
    }
}

PoliceGame::~PoliceGame() {
    if (g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->StopLoop();
        for (int16_t i = 0; i < kEffectCount; ++i) g_Sound->StopSound(i);
    }
}

void PoliceGame::WireButtons() {
    PoliceButtons& b = buttons_;
    b.BtnSingle->OnClick = [this] { BtnSingle_OnClick(); };
    b.BtnMulti->OnClick = [this] { BtnMulti_OnClick(); };
    b.BtnExit->OnClick = [this] { BtnExit_OnClick(); };
    b.BtnCreate->OnClick = [this] { BtnCreate_OnClick(); };
    b.BtnJoin->OnClick = [this] { BtnJoin_OnClick(); };
    b.BtnRefresh->OnClick = [this] { BtnRefresh_OnClick(); };
    b.BtnReturn->OnClick = [this] { BtnReturn_OnClick(); };
    b.BtnPolice->OnClick = [this] { BtnPolice_OnClick(); };
    b.BtnThief->OnClick = [this] { BtnThief_OnClick(); };
    b.BtnCar0->OnClick = [this] { BtnCar0_OnClick(); };
    b.BtnBike0->OnClick = [this] { BtnBike0_OnClick(); };
    b.BtnCar1->OnClick = [this] { BtnCar1_OnClick(); };
    b.BtnBike1->OnClick = [this] { BtnBike1_OnClick(); };
    b.BtnStart->OnClick = [this] { BtnStart_OnClick(); };
    b.BtnCancel->OnClick = [this] { BtnCancel_OnClick(); };
}

// ---- Screen interface ----

bool PoliceGame::Run() {
    SwitchScreen(kScreenMainMenu);
    return true;
}

bool PoliceGame::RestoreRes() {
    pictures_.LoadAll(backgroundName_);
    buttons_.SetUp();
    if (auto dlg = g_MsgDlg2) dlg->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
    return true;
}

bool PoliceGame::UpDateGame() {
    if (screen_ != kScreenRace) return true;
    switch (race_.Step()) {
    case PoliceRace::StepResult::Caught:
        // Network game: only the police's side acts on a catch, and reports it to the other side.
        EndRace(race_.LocalIsPolice());
        break;
    case PoliceRace::StepResult::Reversed:
        Sound(kSoundThiefBrake);
        Sound(kSoundThiefTurn);
        break;
    case PoliceRace::StepResult::None:
        break;
    }
    return true;
}

bool PoliceGame::UpDateScreen() {
    switch (screen_) {
    case kScreenMainMenu:
        renderer_.DrawMainMenu();
        break;
    case kScreenSetting:
        renderer_.DrawSettingBackground();
        // Network game: the player block goes here.
        renderer_.DrawSettingButtons(!isNetworkGame_ || IsHost());
        break;
    case kScreenLobby:
        renderer_.DrawLobbyBackground();
        // Network game: the session rows and their latency bars go here.
        renderer_.DrawLobbyButtons();
        break;
    case kScreenRace:
        renderer_.DrawRace(isNetworkGame_, ShowsWrongKey());
        break;
    default:
        renderer_.DrawResult();
        break;
    }
    renderer_.DrawStatus(statusText_, statusTicks_);
    return true;
}

bool PoliceGame::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    const PoliceButtons& b = buttons_;
    switch (screen_) {
    case kScreenMainMenu:
        MouseRouting::Down(Button, X, Y, b.BtnSingle, b.BtnMulti, b.BtnExit);
        break;
    case kScreenSetting:
        // Network game: a joined side offers the press to BtnCancel alone.
        if (!MouseRouting::Down(Button, X, Y, b.BtnPolice, b.BtnThief, b.BtnCancel, b.BtnStart, b.BtnCar0, b.BtnBike0,
                                b.BtnCar1, b.BtnBike1)) {
            const int32_t hit = HitTextList(X, Y);
            textList_.TextListID = static_cast<uint8_t>(hit < 0 ? 0 : (hit > 255 ? 255 : hit));
        }
        break;
    case kScreenLobby:
        MouseRouting::Down(Button, X, Y, b.BtnCreate, b.BtnJoin, b.BtnReturn, b.BtnRefresh);
        // Network game: otherwise the session row under the pointer is selected.
        break;
    default:
        break;
    }
    return true;
}

bool PoliceGame::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    const PoliceButtons& b = buttons_;
    switch (screen_) {
    case kScreenMainMenu:
        MouseRouting::Up(Button, X, Y, b.BtnSingle, b.BtnMulti, b.BtnExit);
        break;
    case kScreenSetting:
        // Network game: a joined side offers the release to BtnCancel alone.
        MouseRouting::Up(Button, X, Y, b.BtnPolice, b.BtnThief, b.BtnStart, b.BtnCancel, b.BtnCar0, b.BtnBike0,
                         b.BtnCar1, b.BtnBike1);
        break;
    case kScreenLobby:
        MouseRouting::Up(Button, X, Y, b.BtnCreate, b.BtnJoin, b.BtnRefresh, b.BtnReturn);
        break;
    default:
        break;
    }
    return true;
}

bool PoliceGame::MouseMove(int32_t X, int32_t Y) {
    const PoliceButtons& b = buttons_;
    switch (screen_) {
    case kScreenMainMenu:
        MouseRouting::Move(X, Y, b.BtnSingle, b.BtnMulti, b.BtnExit);
        break;
    case kScreenSetting:
        HitTextList(X, Y);  // only for the settings broadcast of a network game
        // Network game: a joined side offers the move to BtnCancel alone.
        MouseRouting::Move(X, Y, b.BtnPolice, b.BtnThief, b.BtnCancel, b.BtnStart, b.BtnCar0, b.BtnBike0, b.BtnCar1,
                           b.BtnBike1);
        break;
    case kScreenLobby:
        MouseRouting::Move(X, Y, b.BtnCreate, b.BtnJoin, b.BtnRefresh, b.BtnReturn);
        break;
    default:
        break;
    }
    return true;
}

bool PoliceGame::KeyPress(int32_t KeyAscii) {
    if (KeyAscii == kKeyEsc) {
        // Network game: the host goes back to the setting screen, any other side to the lobby,
        // and the session is closed.
        if (screen_ != kScreenMainMenu) SwitchScreen(kScreenSetting);
        return true;
    }
    if (KeyAscii == kKeyEnter) {
        // Network game: the other side is told to start as well.
        if (screen_ == kScreenWon || screen_ == kScreenLost) SwitchScreen(kScreenRace);
        return true;
    }
    if (screen_ != kScreenRace) return true;

    Sound(kSoundType);
    const PoliceRace::KeyResult typed = race_.Type(KeyAscii);
    // A wrong key changes nothing in the race; the next character shows it for a moment.
    wrongKeyShown_ = typed == PoliceRace::KeyResult::Wrong;
    wrongKeyAt_ = platform::Clock::Now();
    switch (typed) {
    case PoliceRace::KeyResult::SpedUp:
        // Network game: the new progress and speed are sent to the other side.
        break;
    case PoliceRace::KeyResult::TextFinished:
        // Network game: a police starts the text again instead of losing.
        EndRace(!race_.LocalIsPolice());
        break;
    case PoliceRace::KeyResult::Typed:
    case PoliceRace::KeyResult::Wrong:
        break;
    }
    return true;
}

bool PoliceGame::ShowsWrongKey() const {
    return wrongKeyShown_ && static_cast<int32_t>(platform::Clock::Now() - wrongKeyAt_) < kWrongKeyMs;
}

// ---- Screens ----

void PoliceGame::SwitchScreen(int32_t n) {
    if (screen_ == kScreenRace && g_Sound) g_Sound->StopLoop();
    const bool police = race_.LocalIsPolice();
    switch (n) {
    case kScreenMainMenu:
        backgroundName_ = "POLICE_MAINMENU_BG";
        isNetworkGame_ = false;
        if (NetConnect) NetConnect->CloseSession();
        break;
    case kScreenSetting:
        backgroundName_ = "POLICE_SETTING_BG";
        break;
    case kScreenLobby:
        backgroundName_ = "POLICE_SERVERLIST_BG";
        isNetworkGame_ = true;
        // Network game: close any session, set up the engine and search for sessions here.
        break;
    case kScreenRace:
        StartRace();
        break;
    case kScreenWon:
        backgroundName_ = police ? "POLICE_WIN_0" : "POLICE_WIN_1";
        Sound(police ? kSoundPoliceCatch : kSoundThiefAway);
        break;
    case kScreenLost:
        backgroundName_ = police ? "POLICE_LOST_0" : "POLICE_LOST_1";
        Sound(police ? kSoundThiefAway : kSoundPoliceCatch);
        break;
    default:
        return;
    }
    screen_ = n;
    if (n == kScreenRace && g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->PlayLoop();
    }
    pictures_.LoadBackground(backgroundName_);
}

void PoliceGame::StartRace() {
    backgroundName_ = "POLICE_BACKGROUND";
    // The other side's entry sound.
    Sound(race_.LocalIsPolice() ? kSoundThiefEntry : kSoundPoliceEntry);
    race_.Start();
    wrongKeyShown_ = false;
}

void PoliceGame::EndRace(bool won) { SwitchScreen(won ? kScreenWon : kScreenLost); }

void PoliceGame::ShowStatus(const std::u16string& text) {
    statusText_ = text;
    statusTicks_ = kStatusFrames;
}

void PoliceGame::Sound(int16_t slot) {
    if (g_Sound) g_Sound->PlaySound(slot);
}

// ---- Buttons ----

void PoliceGame::BtnSingle_OnClick() { SwitchScreen(kScreenSetting); }

void PoliceGame::BtnMulti_OnClick() {
    SwitchScreen(kScreenLobby);
    g_Graphic->SetFont(g_SongFont);
}

void PoliceGame::BtnExit_OnClick() {
    auto dlg = g_MsgDlg2;
    if (!dlg) return;
    if (dlg->Show(u"你真的要退出吗？", 240, 212, false) == 1) ShutdownProgram();
}

// A chosen role or vehicle is a disabled button: its disabled frame is the "chosen" look with
// the check mark, so the hover and pressed frames of the other choice never show one.
void PoliceGame::BtnPolice_OnClick() {
    buttons_.BtnPolice->SetEnabled(false);
    buttons_.BtnThief->SetEnabled(true);
    buttons_.BtnThief->SetFrame(0);
    race_.ChooseRole(RaceTrack::kPolice);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnThief_OnClick() {
    buttons_.BtnThief->SetEnabled(false);
    buttons_.BtnPolice->SetEnabled(true);
    buttons_.BtnPolice->SetFrame(0);
    race_.ChooseRole(RaceTrack::kThief);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnCar0_OnClick() {
    buttons_.BtnCar0->SetEnabled(false);
    buttons_.BtnBike0->SetEnabled(true);
    buttons_.BtnBike0->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kPolice, true);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnBike0_OnClick() {
    buttons_.BtnBike0->SetEnabled(false);
    buttons_.BtnCar0->SetEnabled(true);
    buttons_.BtnCar0->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kPolice, false);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnCar1_OnClick() {
    buttons_.BtnCar1->SetEnabled(false);
    buttons_.BtnBike1->SetEnabled(true);
    buttons_.BtnBike1->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kThief, true);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnBike1_OnClick() {
    buttons_.BtnBike1->SetEnabled(false);
    buttons_.BtnCar1->SetEnabled(true);
    buttons_.BtnCar1->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kThief, false);
    // Network game: the host broadcasts its settings.
}

void PoliceGame::BtnStart_OnClick() {
    g_Graphic->SetFont(g_ArialFont);
    LoadRaceText();
    // Network game: the host checks for two players, sends the text, starts and sends the
    // start message instead.
    SwitchScreen(kScreenRace);
}

void PoliceGame::BtnCancel_OnClick() { SwitchScreen(isNetworkGame_ ? kScreenLobby : kScreenMainMenu); }

void PoliceGame::BtnReturn_OnClick() { SwitchScreen(kScreenMainMenu); }

// Network game: hosting a session.
void PoliceGame::BtnCreate_OnClick() {}

// Network game: joining the selected session.
void PoliceGame::BtnJoin_OnClick() {}

// Network game: searching for sessions again.
void PoliceGame::BtnRefresh_OnClick() {}

// ---- Race texts ----

int32_t PoliceGame::HitTextList(int32_t X, int32_t Y) {
    // Network game: every hit test in a session broadcasts the settings.
    return textList_.Hit(X, Y);
}

void PoliceGame::LoadRaceText() { race_.Text.SetText(textList_.ReadChosen(textFolder_)); }
