#include "police/NetEngine.h"

#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Random.h"
#include "platform/ScriptRunner.h"
#include "platform/net/GameMessage.h"
#include "platform/net/WireReader.h"
#include "police/NetFailureText.h"
#include "shell/FrameLoop.h"

using platform::net::GameMessage;

namespace {

// Calls a copy, so a handler that replaces itself does not pull the function from under its
// own feet.
template <typename F, typename... Args>
void Raise(const F& handler, Args&&... args) {
    if (F copy = handler) copy(std::forward<Args>(args)...);
}

}  // namespace

NetEngine::NetEngine() = default;
NetEngine::~NetEngine() = default;

void NetEngine::Tell(const std::u16string& text) {
    if (ShowMessage)
        ShowMessage(text);
    else
        platform::ShowMessageBox(text, platform::ApplicationTitle());
}

bool NetEngine::Initialize() {
    if (Initialized) return false;
    std::string error;
    Play = platform::net::SessionService::Create([] { platform::MessageQueue::Wake(); }, &error);
    if (!Play) {
        Tell(NetFailureText::Setup(error));
        return false;
    }
    Initialized = true;
    return true;
}

void NetEngine::AwaitNetwork(const std::function<bool()>& done) {
    while (!done()) {
        if (platform::ScriptRunner::Active()) {
            platform::MessageQueue::WaitForWake();
            continue;
        }
        PumpOnce();
        if (!done()) WaitForNextFrameOrInput();
    }
}

void NetEngine::CloseSession() {
    if (Joining) JoinCancelled = true;
    Running = false;
    HostFlag = false;
    if (InSession && Play) {
        Players = Play->Players();
        Play->Close();
    }
    InSession = false;
}

int32_t NetEngine::GetPlayerCount() const { return InSession && Players ? static_cast<int32_t>(Players->size()) : 0; }

std::u16string NetEngine::GetPlayerName(int32_t index) const {
    if (!Players || index < 1 || index > static_cast<int32_t>(Players->size())) return {};
    return (*Players)[static_cast<size_t>(index - 1)].shortName;
}

int32_t NetEngine::GetSessionCount() const { return Sessions ? static_cast<int32_t>(Sessions->size()) : 0; }

std::optional<platform::net::SessionInfo> NetEngine::GetSession(int32_t index) const {
    if (index < 1 || index > GetSessionCount()) return std::nullopt;
    return (*Sessions)[static_cast<size_t>(index - 1)];
}

void NetEngine::HostSession(const std::u16string& SessionName, const std::u16string& Password,
                            const std::u16string& PlayerName) {
    if (!Initialized || InSession || Joining) return;
    // The previous session's port is free once its close has ended.
    AwaitNetwork([this] { return !Play->Closing(); });
    HostFlag = true;
    platform::net::SessionDesc desc;
    desc.maxPlayers = 2;
    desc.name = SessionName;
    desc.password = Password;
    desc.user1 = static_cast<int32_t>(platform::Random::Next() * 200.0);
    desc.flags = 0;
    std::string error;
    if (!Play->Host(desc, {PlayerName, u"Host"}, &error)) {
        Tell(NetFailureText::Host(error));
        return;
    }
    LocalPlayerId = Play->LocalPlayerId();
    RefreshPlayers();
    InSession = true;
    AnnouncePlayers();
    RunSession();
}

bool NetEngine::JoinSession(int32_t Index, const std::u16string& PlayerName, const std::u16string& Password) {
    if (!Initialized || InSession || Joining || Searching || Index < 1 || Index > GetSessionCount()) return false;
    HostFlag = false;
    const platform::net::SessionInfo session = (*Sessions)[static_cast<size_t>(Index - 1)];
    if (!Play->StartJoin(session, Password, {PlayerName, u"Client"})) return false;
    Joining = true;
    JoinCancelled = false;
    AwaitNetwork([this] { return Play->WorkDone(); });
    Joining = false;
    std::string error;
    const bool joined = Play->FinishJoin(&error);
    if (joined && (JoinCancelled || InSession)) Play->Close();
    // A join the player cancelled failed for nobody: the lobby says nothing of it.
    if (!joined) JoinFailure = JoinCancelled ? std::u16string() : NetFailureText::Join(error);
    if (!joined || JoinCancelled || InSession) return false;
    JoinFailure.clear();
    LocalPlayerId = Play->LocalPlayerId();
    RefreshPlayers();
    InSession = true;
    AnnouncePlayers();
    RequestSetting();
    RunSession();
    return true;
}

void NetEngine::RefreshSessions() {
    if (!Initialized || InSession || Searching || Joining) return;
    SearchFailure.clear();
    Searching = true;
    // A session this side has just left is still closing: searched now, its host would still
    // count this side as a player and the game would be listed as in progress.
    AwaitNetwork([this] { return !Play->Closing(); });
    if (!Play->StartSearch(platform::net::kApplicationId)) {
        Searching = false;
        return;
    }
    AwaitNetwork([this] { return Play->WorkDone(); });
    Searching = false;
    std::string error;
    Sessions = Play->FinishSearch(&error);
    SearchFailure = Sessions ? std::u16string() : NetFailureText::Reason(error);
    platform::ScriptRunner::Announce("sessions " + std::to_string(GetSessionCount()));
}

void NetEngine::RefreshPlayers() {
    if (!Initialized) return;
    Players = Play->Players();
    // The screen hears of the players before the session counts them; scripted runs hear the
    // count once it does.
    Raise(UpDatePlayer);
    if (InSession) AnnouncePlayers();
}

void NetEngine::AnnouncePlayers() const {
    platform::ScriptRunner::Announce("players " + std::to_string(GetPlayerCount()));
}

void NetEngine::Send(const std::vector<uint8_t>& message) {
    if (InSession && Play) Play->Send(message);
}

void NetEngine::SendSetting(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike,
                            uint8_t ThiefCarOrBike) {
    Send(GameMessage::Settings(TextListID, ServerPlayerID, PoliceCarOrBike, ThiefCarOrBike).Encode());
}

void NetEngine::SendText(const std::u16string& aStr) { Send(GameMessage::Text(aStr).Encode()); }

void NetEngine::RequestSetting() { Send(GameMessage::Plain(GameMessage::kRequestSettings).Encode()); }

void NetEngine::SendReady() { Send(GameMessage::Plain(GameMessage::kReady).Encode()); }

void NetEngine::SendOver() { Send(GameMessage::Plain(GameMessage::kOver).Encode()); }

void NetEngine::SendProgress(int32_t InputPos, float Speed) { Send(GameMessage::Progress(InputPos, Speed).Encode()); }

void NetEngine::RunSession() {
    Running = true;
    // A minimised window still reads the other player's messages, so the inbox never fills.
    SetLostDisplayWork([this] { PollMessages(); });
    do {
        PumpOnce();
        PollMessages();
        // Nothing left to do until the next frame, input or network message: the network
        // thread's wake ends this wait when a message arrives.
        if (Running && !(Play && Play->Waiting() > 0)) WaitForNextFrameOrInput();
    } while (Running);
    SetLostDisplayWork(nullptr);
}

void NetEngine::PollMessages() {
    if (!Play) return;
    // Messages that arrive meanwhile wait for the next pass.
    const size_t n = Play->Waiting();
    if (n > 0) RequestRedraw();
    for (size_t i = 0; i < n; ++i) {
        auto message = Play->Receive();
        if (!message) break;  // a handler closed the session
        Dispatch(*message);
    }
}

void NetEngine::Dispatch(const platform::net::ReceivedMessage& message) {
    if (message.from == 0) {
        platform::net::WireReader reader(message.data);
        int32_t code = 0;
        if (!reader.Int32(code)) return;
        if (code == platform::net::kSystemPlayerCreated || code == platform::net::kSystemPlayerDestroyed)
            RefreshPlayers();
        return;
    }
    auto m = GameMessage::Decode(message.data);
    if (!m) return;
    switch (m->type) {
    case GameMessage::kSettings:
        Raise(SettingChange, m->textListId, m->serverPlayerId, m->policeCarOrBike, m->thiefCarOrBike);
        break;
    case GameMessage::kText:
        Raise(GetString, m->text);
        break;
    case GameMessage::kRequestSettings:
        Raise(NeedSetting);
        break;
    case GameMessage::kReady:
        Raise(Ready);
        break;
    case GameMessage::kOver:
        Raise(Over);
        break;
    case GameMessage::kProgress:
        Raise(ReceiveNotify, m->inputPos, m->speed);
        break;
    default:
        break;  // reserved
    }
}
