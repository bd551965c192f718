#include "platform/net/SessionService.h"

#include "platform/net/SessionSearch.h"
#include "platform/net/UdpSocket.h"

namespace platform::net {

std::unique_ptr<SessionService> SessionService::Create(std::function<void()> wake, std::string* error) {
    auto config = LanConfig::FromEnvironment(error);
    if (!config) return nullptr;
    UdpSocket probe;
    if (!probe.Open(0, false, error)) return nullptr;
    return std::make_unique<SessionService>(*config, std::move(wake));
}

std::optional<std::vector<SessionInfo>> SessionService::Search(const std::string& applicationId) {
    return SessionSearch::Run(config_, applicationId);
}

bool SessionService::Host(const SessionDesc& desc, const LanSession::LocalPlayer& player, std::string* error) {
    if (session_) {
        if (error) *error = "A session is already open.";
        return false;
    }
    session_ = LanSession::Host(config_, desc, player, wake_, error);
    return session_ != nullptr;
}

bool SessionService::Join(const SessionInfo& session, const std::u16string& password,
                          const LanSession::LocalPlayer& player, std::string* error) {
    if (session_) {
        if (error) *error = "A session is already open.";
        return false;
    }
    session_ = LanSession::Join(session, password, player, wake_, LanSession::kJoinTimeout, error);
    return session_ != nullptr;
}

void SessionService::Close() {
    if (!session_) return;
    session_->Close();
    session_.reset();
}

std::vector<PlayerInfo> SessionService::Players() const {
    return session_ ? session_->Players() : std::vector<PlayerInfo>{};
}

bool SessionService::Send(std::vector<uint8_t> gameMessage) {
    return session_ && session_->Send(std::move(gameMessage));
}

std::optional<ReceivedMessage> SessionService::Receive() {
    if (!session_) return std::nullopt;
    return session_->Receive();
}

}  // namespace platform::net
