#include "police/NetController.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/HostName.h"
#include "police/NetEngine.h"
#include "police/NetRace.h"
#include "police/PoliceButtons.h"
#include "police/PoliceScreenControl.h"
#include "police/RaceTextList.h"
#include "police/SettingChoices.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

namespace {
constexpr const char16_t* kNoValidSession = u"请选择有效的连接";
constexpr const char16_t* kServerGone = u"服务器退出,请选择(建立)新游戏";
constexpr const char16_t* kOnePlayerOnly = u"只有一个用户连入不能开始游戏，请等待另一玩家加入";
constexpr const char16_t* kOtherPlayerLeft = u"另一玩者已经退出";
}  // namespace

NetController::NetController(PoliceScreenControl& screens, const PoliceButtons& buttons, const PolicePictures& pictures,
                             SettingChoices& choices, RaceTextList& textList, PoliceRace& race)
    : screens_(screens),
      buttons_(buttons),
      choices_(choices),
      textList_(textList),
      race_(race),
      lobby_(pictures, buttons),
      engine_(std::make_unique<NetEngine>()),
      netRace_(std::make_unique<NetRace>(*engine_, race)) {
    WireEvents();
    WireButtons(buttons);
}

NetController::~NetController() = default;

void NetController::WireButtons(const PoliceButtons& b) {
    b.BtnCreate->OnClick = [this] { Create(); };
    b.BtnJoin->OnClick = [this] { Join(); };
    b.BtnRefresh->OnClick = [this] { Refresh(); };
    b.BtnReturn->OnClick = [this] { screens_.SwitchScreen(kScreenMainMenu); };
}

void NetController::WireEvents() {
    NetEngine& n = *engine_;
    // Only the host chooses the text, and only between races: a text from the other side of a
    // host, or one in the middle of a race, is not one a real program sends.
    n.GetString = [this](const std::u16string& aStr) {
        if (!IsHost() && screens_.Screen() != kScreenRace) netRace_->TakeText(aStr);
    };
    n.Ready = [this] { OnReady(); };
    // The other side finished first, or in the same moment as this one (then both end lost). No
    // real program sends it outside a race.
    n.Over = [this] {
        if (screens_.Screen() == kScreenRace || screens_.Screen() == kScreenWon) screens_.SwitchScreen(kScreenLost);
    };
    n.UpDatePlayer = [this] { OnPlayersChanged(); };
    n.NeedSetting = [this] { netRace_->SendSetting(textList_.TextListID); };
    n.SettingChange = [this](uint8_t id, uint8_t server, uint8_t police, uint8_t thief) {
        OnSettingChange(id, server, police, thief);
    };
    n.ReceiveNotify = [this](int32_t pos, float speed) { netRace_->ApplyProgress(pos, speed); };
}

bool NetController::IsHost() const { return engine_->IsHost(); }

bool NetController::InSession() const { return engine_->IsInSession(); }

bool NetController::Waiting() const { return engine_->IsSearching() || engine_->IsJoining(); }

// ---- The lobby ----

void NetController::EnterLobby() {
    engine_->CloseSession();
    engine_->Initialize();
    Search();
}

void NetController::Search() {
    engine_->RefreshSessions();
    // An empty list would say that nobody plays; a search that could not be made says why.
    if (!engine_->LastSearchFailure().empty()) screens_.ShowStatus(engine_->LastSearchFailure());
}

void NetController::Leave() { engine_->CloseSession(); }

void NetController::DrawLobby() { lobby_.DrawLobby(*engine_, selectedSession_); }

void NetController::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (MouseRouting::Down(Button, X, Y, buttons_.Lobby())) return;
    if (const int32_t row = LobbyView::HitSessionRow(X, Y, engine_->GetSessionCount()); row != 0)
        selectedSession_ = row;
}

void NetController::MouseUp(int32_t Button, int32_t X, int32_t Y) { MouseRouting::Up(Button, X, Y, buttons_.Lobby()); }

void NetController::MouseMove(int32_t X, int32_t Y) { MouseRouting::Move(X, Y, buttons_.Lobby()); }

// Create, Join and Refresh wait for a running search, or a join the player cancelled, to end:
// the lobby's buttons work while they run, and the session cannot start another meanwhile.
void NetController::Create() {
    if (Waiting()) return;
    g_Graphic->SetFont(g_ArialFont);
    // What the lobby said is about the lobby: the new session's screen starts without it.
    screens_.ClearStatus();
    screens_.SwitchScreen(kScreenSetting);
    const std::u16string name = LobbyView::PlayerName(platform::HostName(), u"Host");
    engine_->HostSession(name, u"", name);
}

void NetController::Join() {
    if (Waiting()) return;
    if (selectedSession_ < 1 || selectedSession_ > LobbyView::RowsShown(engine_->GetSessionCount())) {
        screens_.ShowStatus(kNoValidSession);
        return;
    }
    g_Graphic->SetFont(g_ArialFont);
    const std::u16string name = LobbyView::PlayerName(platform::HostName(), u"Client");
    screens_.ClearStatus();
    screens_.SwitchScreen(kScreenSetting);
    engine_->JoinSession(selectedSession_, name, u"");
}

void NetController::Refresh() {
    if (Waiting()) return;
    Search();
    selectedSession_ = LobbyView::ClampSelection(selectedSession_, engine_->GetSessionCount());
}

// ---- The setting screen ----

void NetController::ChoiceMade() {
    // The host tells the joined side its choice.
    if (IsHost()) netRace_->SendSetting(textList_.TextListID);
}

void NetController::TextListTouched() {
    if (InSession()) netRace_->SendSetting(textList_.TextListID);
}

void NetController::DrawSettingExtras() {
    if (lobby_.DrawPlayerBlock(*engine_, IsHost())) return;
    // A join that failed says why; a session that went away afterwards, that it did.
    const std::u16string& why = engine_->LastJoinFailure();
    screens_.ShowStatus(why.empty() ? std::u16string{kServerGone} : why);
    screens_.SwitchScreen(kScreenLobby);
}

void NetController::Start() {
    if (!IsHost()) return;
    engine_->RefreshPlayers();
    if (engine_->GetPlayerCount() != 2) {
        screens_.ShowStatus(kOnePlayerOnly);
        return;
    }
    // Both sides type the same characters: what the joined side could not type is replaced
    // on the host too. A race nobody could finish is not started.
    netRace_->TakeText(race_.Text.Text());
    if (race_.Text.TextLength() == 0) {
        screens_.ShowStatus(kNoRaceText);
        return;
    }
    // Text first, then the start: the joined side relies on that order.
    engine_->SendText(race_.Text.Text());
    screens_.SwitchScreen(kScreenRace);
    engine_->SendReady();
}

void NetController::OnSettingChange(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike,
                                    uint8_t ThiefCarOrBike) {
    if (!screens_.IsNetworkGame() || IsHost()) return;
    // The host's role decides this side's: the other one.
    choices_.Choose(SettingChoices::Pair::Role, ServerPlayerID == 1);
    choices_.Choose(SettingChoices::Pair::PoliceVehicle, PoliceCarOrBike == 1);
    choices_.Choose(SettingChoices::Pair::ThiefVehicle, ThiefCarOrBike == 1);
    // The list of this side may be shorter than the host's: nothing past its end is chosen.
    textList_.Choose(TextListID);
}

// ---- The race and the result screens ----

void NetController::RaceKey(PoliceRace::KeyResult result) {
    switch (result) {
    case PoliceRace::KeyResult::SpedUp:
        netRace_->SendProgress();
        break;
    case PoliceRace::KeyResult::TextFinished:
        if (race_.LocalIsPolice()) {
            // The police cannot win by typing: it starts the text again and the chase goes on.
            race_.RestartText();
        } else {
            screens_.SwitchScreen(kScreenWon);
            engine_->SendOver();
        }
        break;
    case PoliceRace::KeyResult::Typed:
    case PoliceRace::KeyResult::Wrong:
        break;
    }
}

void NetController::Caught() {
    // Only the police's side acts on a catch; the thief's side waits for the word.
    if (!race_.LocalIsPolice()) return;
    screens_.SwitchScreen(kScreenWon);
    engine_->SendOver();
}

void NetController::Escape() {
    // The host goes back to its setting screen, any other side to the lobby; then the session
    // ends.
    screens_.SwitchScreen(IsHost() ? kScreenSetting : kScreenLobby);
    engine_->CloseSession();
}

void NetController::Again() {
    // The other side starts its race too, whatever screen it shows. The host sends the text
    // again first: the other side may have joined since the last race and hold none.
    if (race_.Text.TextLength() == 0) return;  // a race nobody could type
    if (IsHost()) engine_->SendText(race_.Text.Text());
    engine_->SendReady();
    screens_.SwitchScreen(kScreenRace);
    engine_->RefreshPlayers();
}

void NetController::OnReady() {
    // A start without a text would be a race nobody can type.
    if (race_.Text.TextLength() == 0) return;
    g_Graphic->SetFont(g_ArialFont);
    screens_.SwitchScreen(kScreenRace);
}

void NetController::OnPlayersChanged() {
    if (screens_.Screen() != kScreenRace || engine_->GetPlayerCount() >= 2) return;
    screens_.ShowStatus(kOtherPlayerLeft);
    // The host keeps its session open for a new player; the lobby closes a joined side's.
    screens_.SwitchScreen(IsHost() ? kScreenSetting : kScreenLobby);
}
