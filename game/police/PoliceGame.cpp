#include "police/PoliceGame.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/HostName.h"
#include "platform/KeyMap.h"
#include "platform/PlayerFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/ScriptRunner.h"
#include "results/ResultBook.h"
#include "results/ResultPanel.h"
#include "shell/ExitQuestion.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/PointerNotice.h"
#include "widgets/AniButton.h"
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

constexpr int32_t kStatusFrames = 200;
constexpr int32_t kWrongKeyMs = 150;

// Texts of the network game.
constexpr const char16_t* kNoValidSession = u"请选择有效的连接";
constexpr const char16_t* kServerGone = u"服务器退出,请选择(建立)新游戏";
constexpr const char16_t* kOnePlayerOnly = u"只有一个用户连入不能开始游戏，请等待另一玩家加入";
constexpr const char16_t* kOtherPlayerLeft = u"另一玩者已经退出";
constexpr const char16_t* kNoRaceText = u"请选择一篇比赛文章";

std::string TextFolderPath() { return platform::ProgramPath("\\Data\\English\\E_General") + "/"; }
}  // namespace

std::shared_ptr<PoliceGame> PoliceGame::Create() { return std::shared_ptr<PoliceGame>(new PoliceGame()); }

PoliceGame::PoliceGame()
    : textFolder_(TextFolderPath(), platform::PlayerTextFolder()),
      renderer_(pictures_, buttons_, textList_, race_),
      lobby_(pictures_, buttons_) {
    // The text list.
    textList_.Load(textFolder_);
    NetConnect = std::make_unique<NetEngine>();
    netRace_ = std::make_unique<NetRace>(*NetConnect, race_);
    WireNetEvents();
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

void PoliceGame::WireNetEvents() {
    NetEngine& n = *NetConnect;
    n.GetString = [this](const std::u16string& aStr) { NetConnect_GetString(aStr); };
    n.Ready = [this] { NetConnect_Ready(); };
    n.Over = [this] { NetConnect_Over(); };
    n.UpDatePlayer = [this] { NetConnect_UpDatePlayer(); };
    n.NeedSetting = [this] { NetConnect_NeedSetting(); };
    n.SettingChange = [this](uint8_t id, uint8_t server, uint8_t police, uint8_t thief) {
        NetConnect_SettingChange(id, server, police, thief);
    };
    n.ReceiveNotify = [this](int32_t pos, float speed) { NetConnect_ReceiveNotify(pos, speed); };
}

// ---- Screen interface ----

bool PoliceGame::Run() {
    SwitchScreen(kScreenMainMenu);
    return true;
}

bool PoliceGame::RestoreRes() {
    pictures_.LoadAll(backgroundName_);
    buttons_.SetUp();
    return true;
}

bool PoliceGame::UpDateGame() {
    if (screen_ != kScreenRace) return true;
    switch (race_.Step()) {
    case PoliceRace::StepResult::Caught:
        if (!isNetworkGame_) {
            EndRace(race_.LocalIsPolice());
        } else if (race_.LocalIsPolice()) {
            // Only the police's side acts on a catch; the thief's side waits for the word.
            SwitchScreen(kScreenWon);
            NetConnect->SendOver();
        }
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

bool PoliceGame::NextFrameDiffers() {
    return statusTicks_ > 0 || screen_ == kScreenRace || screen_ == kScreenLobby ||
           (screen_ == kScreenSetting && isNetworkGame_);
}

bool PoliceGame::UpDateScreen() {
    switch (screen_) {
    case kScreenMainMenu:
        renderer_.DrawMainMenu();
        break;
    case kScreenSetting: {
        renderer_.DrawSettingBackground();
        const bool host = IsHost();
        if (isNetworkGame_ && !lobby_.DrawPlayerBlock(*NetConnect, host)) {
            // A join that failed says why; a session that went away afterwards, that it did.
            const std::u16string& why = NetConnect->LastJoinFailure();
            ShowStatus(why.empty() ? std::u16string{kServerGone} : why);
            SwitchScreen(kScreenLobby);
        }
        renderer_.DrawSettingButtons(!isNetworkGame_ || host);
        break;
    }
    case kScreenLobby:
        lobby_.DrawLobby(*NetConnect, selectedSession_);
        break;
    case kScreenRace:
        renderer_.DrawRace(isNetworkGame_, ShowsWrongKey());
        break;
    default:
        renderer_.DrawResult();
        if (g_Graphic) results::ResultPanel::DrawBoxed(*g_Graphic, g_SongFont, result_, 10, 10, 176);
        break;
    }
    renderer_.DrawStatus(statusText_, statusTicks_, PoliceRenderer::StatusPlace(screen_));
    return true;
}

bool PoliceGame::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    const PoliceButtons& b = buttons_;
    switch (screen_) {
    case kScreenMainMenu:
        MouseRouting::Down(Button, X, Y, b.BtnSingle, b.BtnMulti, b.BtnExit);
        break;
    case kScreenSetting:
        if (isNetworkGame_ && !IsHost()) {
            MouseRouting::Down(Button, X, Y, b.BtnCancel);  // the joined side may only leave
        } else if (!MouseRouting::Down(Button, X, Y, b.BtnPolice, b.BtnThief, b.BtnCancel, b.BtnStart, b.BtnCar0,
                                       b.BtnBike0, b.BtnCar1, b.BtnBike1)) {
            const int32_t hit = HitTextList(X, Y);
            textList_.TextListID = static_cast<uint8_t>(hit < 0 ? 0 : (hit > 255 ? 255 : hit));
        }
        break;
    case kScreenLobby:
        if (!MouseRouting::Down(Button, X, Y, b.BtnCreate, b.BtnJoin, b.BtnReturn, b.BtnRefresh)) {
            if (const int32_t row = HitSessionRow(X, Y); row != 0) selectedSession_ = row;
        }
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
        if (isNetworkGame_ && !IsHost()) {
            MouseRouting::Up(Button, X, Y, b.BtnCancel);
            break;
        }
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
        if (isNetworkGame_ && !IsHost()) {
            MouseRouting::Move(X, Y, b.BtnCancel);
            break;
        }
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
    if (KeyAscii == platform::kKeyEsc) {
        if (screen_ == kScreenMainMenu) return true;
        if (!isNetworkGame_) {
            SwitchScreen(kScreenSetting);
            return true;
        }
        // The host goes back to its setting screen, any other side to the lobby; then the
        // session ends.
        SwitchScreen(IsHost() ? kScreenSetting : kScreenLobby);
        NetConnect->CloseSession();
        return true;
    }
    if (KeyAscii == platform::kKeyEnter) {
        if (screen_ != kScreenWon && screen_ != kScreenLost) return true;
        if (!isNetworkGame_) {
            SwitchScreen(kScreenRace);
            return true;
        }
        // The other side starts its race too, whatever screen it shows.
        NetConnect->SendReady();
        SwitchScreen(kScreenRace);
        NetConnect->RefreshPlayers();
        return true;
    }
    if (screen_ != kScreenRace) return true;

    Sound(kSoundType);
    const int32_t at = race_.Local().InputPos;
    const std::u16string& text = race_.Text.Text();
    const PoliceRace::KeyResult result = race_.Type(KeyAscii);
    // The key after the whole text only ends the race.
    if (result != PoliceRace::KeyResult::TextFinished && at >= 0 && static_cast<size_t>(at) < text.size())
        tally_.Count(text[static_cast<size_t>(at)], result != PoliceRace::KeyResult::Wrong, platform::Clock::Now());
    // A wrong key changes nothing in the race; the next character shows it for a moment.
    wrongKeyShown_ = result == PoliceRace::KeyResult::Wrong;
    wrongKeyAt_ = platform::Clock::Now();
    if (isNetworkGame_) {
        NetworkRaceKey(result);
        return true;
    }
    switch (result) {
    case PoliceRace::KeyResult::TextFinished:
        EndRace(!race_.LocalIsPolice());
        break;
    case PoliceRace::KeyResult::SpedUp:
    case PoliceRace::KeyResult::Typed:
    case PoliceRace::KeyResult::Wrong:
        break;
    }
    return true;
}

bool PoliceGame::ShowsWrongKey() const {
    return wrongKeyShown_ && static_cast<int32_t>(platform::Clock::Now() - wrongKeyAt_) < kWrongKeyMs;
}

void PoliceGame::NetworkRaceKey(PoliceRace::KeyResult result) {
    switch (result) {
    case PoliceRace::KeyResult::SpedUp:
        netRace_->SendProgress();
        break;
    case PoliceRace::KeyResult::TextFinished:
        if (race_.LocalIsPolice()) {
            // The police cannot win by typing: it starts the text again and the chase goes on.
            race_.RestartText();
        } else {
            SwitchScreen(kScreenWon);
            NetConnect->SendOver();
        }
        break;
    case PoliceRace::KeyResult::Typed:
    case PoliceRace::KeyResult::Wrong:
        break;
    }
}

// ---- Screens ----

void PoliceGame::SwitchScreen(PoliceScreen n) {
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
        if (NetConnect) {
            NetConnect->CloseSession();
            NetConnect->Initialize();
            NetConnect->RefreshSessions();
        }
        break;
    case kScreenRace:
        StartRace();
        break;
    case kScreenWon:
        if (screen_ == kScreenRace) KeepResult(true);
        backgroundName_ = police ? "POLICE_WIN_0" : "POLICE_WIN_1";
        Sound(police ? kSoundPoliceCatch : kSoundThiefAway);
        break;
    case kScreenLost:
        if (screen_ == kScreenRace) KeepResult(false);
        backgroundName_ = police ? "POLICE_LOST_0" : "POLICE_LOST_1";
        Sound(police ? kSoundThiefAway : kSoundPoliceCatch);
        break;
    default:
        return;
    }
    screen_ = n;
    static constexpr const char* kNames[] = {"mainmenu", "setting", "lobby", "race", "won", "lost"};
    platform::ScriptRunner::Announce(std::string("screen ") + kNames[n]);
    if (n == kScreenRace && g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->PlayLoop();
    }
    pictures_.LoadBackground(backgroundName_);
    PointerNotice::Tell(*this);
}

void PoliceGame::StartRace() {
    backgroundName_ = "POLICE_BACKGROUND";
    // The other side's entry sound.
    Sound(race_.LocalIsPolice() ? kSoundThiefEntry : kSoundPoliceEntry);
    race_.OpponentFromNetwork = isNetworkGame_;
    race_.Start();
    wrongKeyShown_ = false;
    tally_.Reset();
}

void PoliceGame::KeepResult(bool won) {
    const std::vector<std::u16string>& entries = textList_.Entries();
    const std::string level =
        textList_.TextListID < entries.size() ? platform::ToUtf8(entries[textList_.TextListID]) : "";
    result_ = results::ResultBook::Record(
        results::GameResult::Of(tally_, platform::Clock::Now(), "race", level, won ? "won" : "lost"));
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

void PoliceGame::BtnExit_OnClick() { ExitQuestion::LeaveGame(); }

// A chosen role or vehicle is a disabled button: its disabled frame is the "chosen" look with
// the check mark, so the hover and pressed frames of the other choice never show one.
void PoliceGame::BtnPolice_OnClick() {
    buttons_.BtnPolice->SetEnabled(false);
    buttons_.BtnThief->SetEnabled(true);
    buttons_.BtnThief->SetFrame(0);
    race_.ChooseRole(RaceTrack::kPolice);
    HostSendsSetting();
}

void PoliceGame::BtnThief_OnClick() {
    buttons_.BtnThief->SetEnabled(false);
    buttons_.BtnPolice->SetEnabled(true);
    buttons_.BtnPolice->SetFrame(0);
    race_.ChooseRole(RaceTrack::kThief);
    HostSendsSetting();
}

void PoliceGame::BtnCar0_OnClick() {
    buttons_.BtnCar0->SetEnabled(false);
    buttons_.BtnBike0->SetEnabled(true);
    buttons_.BtnBike0->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kPolice, true);
    HostSendsSetting();
}

void PoliceGame::BtnBike0_OnClick() {
    buttons_.BtnBike0->SetEnabled(false);
    buttons_.BtnCar0->SetEnabled(true);
    buttons_.BtnCar0->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kPolice, false);
    HostSendsSetting();
}

void PoliceGame::BtnCar1_OnClick() {
    buttons_.BtnCar1->SetEnabled(false);
    buttons_.BtnBike1->SetEnabled(true);
    buttons_.BtnBike1->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kThief, true);
    HostSendsSetting();
}

void PoliceGame::BtnBike1_OnClick() {
    buttons_.BtnBike1->SetEnabled(false);
    buttons_.BtnCar1->SetEnabled(true);
    buttons_.BtnCar1->SetFrame(0);
    race_.ChooseVehicle(RaceTrack::kThief, false);
    HostSendsSetting();
}

void PoliceGame::HostSendsSetting() {
    if (isNetworkGame_ && IsHost()) netRace_->SendSetting(textList_.TextListID);
}

void PoliceGame::BtnStart_OnClick() {
    g_Graphic->SetFont(g_ArialFont);
    LoadRaceText();
    if (isNetworkGame_) {
        NetworkStart();
        return;
    }
    // A race without a text would be lost the moment it starts.
    if (race_.Text.TextLength() == 0) {
        ShowStatus(kNoRaceText);
        return;
    }
    SwitchScreen(kScreenRace);
}

void PoliceGame::NetworkStart() {
    if (!IsHost()) return;
    NetConnect->RefreshPlayers();
    if (NetConnect->GetPlayerCount() != 2) {
        ShowStatus(kOnePlayerOnly);
        return;
    }
    // Both sides type the same characters: what the joined side could not type is replaced
    // on the host too. A race nobody could finish is not started.
    netRace_->TakeText(race_.Text.Text());
    if (race_.Text.TextLength() == 0) {
        ShowStatus(kNoRaceText);
        return;
    }
    // Text first, then the start: the joined side relies on that order.
    NetConnect->SendText(race_.Text.Text());
    SwitchScreen(kScreenRace);
    NetConnect->SendReady();
}

void PoliceGame::BtnCancel_OnClick() { SwitchScreen(isNetworkGame_ ? kScreenLobby : kScreenMainMenu); }

void PoliceGame::BtnReturn_OnClick() { SwitchScreen(kScreenMainMenu); }

// Both handlers return only when the session has ended: the session loop runs inside them.
void PoliceGame::BtnCreate_OnClick() {
    g_Graphic->SetFont(g_ArialFont);
    SwitchScreen(kScreenSetting);
    const std::u16string name = LobbyView::PlayerName(platform::HostName(), u"Host");
    NetConnect->HostSession(name, u"", name);
}

void PoliceGame::BtnJoin_OnClick() {
    if (selectedSession_ < 1 || selectedSession_ > LobbyView::RowsShown(NetConnect->GetSessionCount())) {
        ShowStatus(kNoValidSession);
        return;
    }
    g_Graphic->SetFont(g_ArialFont);
    const std::u16string name = LobbyView::PlayerName(platform::HostName(), u"Client");
    SwitchScreen(kScreenSetting);
    NetConnect->JoinSession(selectedSession_, name, u"");
}

void PoliceGame::BtnRefresh_OnClick() {
    NetConnect->RefreshSessions();
    selectedSession_ = LobbyView::ClampSelection(selectedSession_, NetConnect->GetSessionCount());
}

int32_t PoliceGame::HitSessionRow(int32_t X, int32_t Y) const {
    return LobbyView::HitSessionRow(X, Y, NetConnect->GetSessionCount());
}

// ---- Network events ----

void PoliceGame::NetConnect_GetString(const std::u16string& aStr) { netRace_->TakeText(aStr); }

void PoliceGame::NetConnect_Ready() {
    g_Graphic->SetFont(g_ArialFont);
    SwitchScreen(kScreenRace);
}

void PoliceGame::NetConnect_Over() { SwitchScreen(kScreenLost); }

void PoliceGame::NetConnect_UpDatePlayer() {
    if (screen_ != kScreenRace || NetConnect->GetPlayerCount() >= 2) return;
    ShowStatus(kOtherPlayerLeft);
    // The host keeps its session open for a new player; the lobby closes a joined side's.
    SwitchScreen(IsHost() ? kScreenSetting : kScreenLobby);
}

void PoliceGame::NetConnect_NeedSetting() { netRace_->SendSetting(textList_.TextListID); }

void PoliceGame::NetConnect_SettingChange(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike,
                                          uint8_t ThiefCarOrBike) {
    if (!isNetworkGame_ || IsHost()) return;
    // The host's role decides this side's: the other one.
    if (ServerPlayerID == 1)
        BtnPolice_OnClick();
    else
        BtnThief_OnClick();
    if (PoliceCarOrBike == 1)
        BtnCar0_OnClick();
    else
        BtnBike0_OnClick();
    if (ThiefCarOrBike == 1)
        BtnCar1_OnClick();
    else
        BtnBike1_OnClick();
    // The list of this side may be shorter than the host's: nothing past its end is chosen.
    const int32_t last = textList_.LastIndex();
    textList_.TextListID = static_cast<uint8_t>(TextListID > last ? last : TextListID);
}

void PoliceGame::NetConnect_ReceiveNotify(int32_t InputPos, float Speed) { netRace_->ApplyProgress(InputPos, Speed); }

// ---- Race texts ----

int32_t PoliceGame::HitTextList(int32_t X, int32_t Y) {
    if (isNetworkGame_ && InSession()) netRace_->SendSetting(textList_.TextListID);
    return textList_.Hit(X, Y);
}

void PoliceGame::LoadRaceText() { race_.Text.SetText(textList_.ReadChosen(textFolder_)); }
