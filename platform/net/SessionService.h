#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/LanConfig.h"
#include "platform/net/LanSession.h"
#include "platform/net/SessionTypes.h"

namespace platform::net {

// The session service of the game: searches the LAN, hosts or joins one session at a time and
// hands received messages to the game thread. `wake` is called from the network thread
// whenever a message arrives (the game passes the wake of its one wait).
class SessionService {
public:
    SessionService(LanConfig config, std::function<void()> wake) : config_(config), wake_(std::move(wake)) {}
    // Reads GLYPHOR_LAN_BROADCAST and GLYPHOR_LAN_PORT and checks that a broadcast socket can be
    // made; nullptr (with a description in `error`) when not.
    static std::unique_ptr<SessionService> Create(std::function<void()> wake, std::string* error);

    const LanConfig& Config() const { return config_; }

    // Blocks for the search window. nullopt when the search could not be made.
    std::optional<std::vector<SessionInfo>> Search(const std::string& applicationId);
    bool Host(const SessionDesc& desc, const LanSession::LocalPlayer& player, std::string* error);
    // A failure says why in `error` (no answer, session full, refused, the host left).
    bool Join(const SessionInfo& session, const std::u16string& password, const LanSession::LocalPlayer& player,
              std::string* error = nullptr);
    // Leaves the open session, telling the other player.
    void Close();

    bool InSession() const { return session_ != nullptr; }
    int32_t LocalPlayerId() const { return session_ ? session_->LocalPlayerId() : 0; }
    std::vector<PlayerInfo> Players() const;
    bool Send(std::vector<uint8_t> gameMessage);
    size_t Waiting() const { return session_ ? session_->Waiting() : 0; }
    std::optional<ReceivedMessage> Receive();

private:
    LanConfig config_;
    std::function<void()> wake_;
    std::unique_ptr<LanSession> session_;
};

}  // namespace platform::net
