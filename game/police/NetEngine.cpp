#include "police/NetEngine.h"

#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Random.h"
#include "platform/ScriptRunner.h"
#include "platform/net/GameMessage.h"
#include "platform/net/WireReader.h"
#include "shell/FrameLoop.h"

using platform::net::GameMessage;

namespace {

std::u16string Widen(const std::string& text) {
    std::u16string out;
    for (unsigned char c : text) out.push_back(c < 0x80 ? static_cast<char16_t>(c) : u'?');
    return out;
}

// Calls a copy, so a handler that replaces itself does not pull the function from under its
// own feet.
template <typename F, typename... Args>
void Raise(const F& handler, Args&&... args) {
    if (F copy = handler) copy(std::forward<Args>(args)...);
}

}  // namespace

NetEngine::NetEngine() = default;
NetEngine::~NetEngine() = default;

const std::u16string& NetEngine::SetupFailureText() {
    static const std::u16string text =
        u"              无法初始网络效引擎\r\n\r\n"
        u"请确认已正确安装DirectX7或更高版本,及相关驱动程序.\r\n"
        u"该程序可从微软网站获得";
    return text;
}

void NetEngine::Tell(const std::u16string& text) {
    if (ShowMessage)
        ShowMessage(text);
    else
        platform::ShowMessageBox(text, platform::ApplicationTitle());
}

bool NetEngine::Initialize() {
    if (Initialized) return false;
    Play = platform::net::SessionService::Create([] { platform::MessageQueue::Wake(); }, nullptr);
    if (!Play) {
        Tell(SetupFailureText());
        return false;
    }
    Initialized = true;
    return true;
}

void NetEngine::CloseSession() {
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
    if (!Initialized || InSession) return;
    HostFlag = true;
    platform::net::SessionDesc desc;
    desc.maxPlayers = 2;
    desc.name = SessionName;
    desc.password = Password;
    desc.user1 = static_cast<int32_t>(platform::Random::Next() * 200.0);
    desc.flags = 0;
    std::string error;
    if (!Play->Host(desc, {PlayerName, u"Host"}, &error)) {
        Tell(Widen(error));
        return;
    }
    LocalPlayerId = Play->LocalPlayerId();
    InSession = true;
    RefreshPlayers();
    RunSession();
}

bool NetEngine::JoinSession(int32_t Index, const std::u16string& PlayerName, const std::u16string& Password) {
    if (!Initialized || InSession || Index < 1 || Index > GetSessionCount()) return false;
    HostFlag = false;
    const platform::net::SessionInfo session = (*Sessions)[static_cast<size_t>(Index - 1)];
    if (!Play->Join(session, Password, {PlayerName, u"Client"})) {
        InSession = false;
        return false;
    }
    LocalPlayerId = Play->LocalPlayerId();
    InSession = true;
    RefreshPlayers();
    RequestSetting();
    RunSession();
    return true;
}

void NetEngine::RefreshSessions() {
    if (!Initialized || InSession) return;
    Sessions = Play->Search(platform::net::kApplicationId);
    platform::ScriptRunner::Announce("sessions " + std::to_string(GetSessionCount()));
}

void NetEngine::RefreshPlayers() {
    if (!Initialized) return;
    Players = Play->Players();
    platform::ScriptRunner::Announce("players " + std::to_string(GetPlayerCount()));
    Raise(UpDatePlayer);
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
    do {
        PumpOnce();
        PollMessages();
        // Nothing left to do until the next frame, input or network message: the network
        // thread's wake ends this wait when a message arrives.
        if (Running && !(Play && Play->Waiting() > 0)) WaitForNextFrameOrInput();
    } while (Running);
}

void NetEngine::PollMessages() {
    if (!Play) return;
    // Messages that arrive meanwhile wait for the next pass.
    const size_t n = Play->Waiting();
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
