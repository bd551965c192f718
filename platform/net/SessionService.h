#pragma once
#include <functional>
#include <future>
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
//
// A search, a join and a close wait on the network; each runs on a worker thread of its own, so
// the game thread keeps drawing: Start* begins the operation, `wake` is called when it ends, and
// *Done / Finish* take its result on the game thread. One search or join runs at a time.
class SessionService {
public:
    SessionService(LanConfig config, std::function<void()> wake) : config_(config), wake_(std::move(wake)) {}
    // Waits for the operations still running (a close tells the other player first).
    ~SessionService();
    SessionService(const SessionService&) = delete;
    SessionService& operator=(const SessionService&) = delete;
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
    // Leaves the open session; telling the other player runs on a worker thread. A host or join
    // that follows waits for it, so the discovery port is free again.
    void Close();

    // The same search and join, off the game thread. Start* returns false (and starts nothing)
    // while another search or join runs.
    bool StartSearch(const std::string& applicationId);
    bool StartJoin(const SessionInfo& session, const std::u16string& password, const LanSession::LocalPlayer& player);
    bool Busy() const { return work_.valid(); }
    // True while the previous session is still being closed.
    bool Closing() const;
    // True once the running search or join has ended (or when none runs).
    bool WorkDone() const;
    // The result of a finished search (nullopt when it failed, with the reason in `error`);
    // blocks until it ends.
    std::optional<std::vector<SessionInfo>> FinishSearch(std::string* error = nullptr);
    // Opens the session of a finished join; false when it failed, with the reason in `error`.
    // Blocks until it ends.
    bool FinishJoin(std::string* error = nullptr);

    bool InSession() const { return session_ != nullptr; }
    int32_t LocalPlayerId() const { return session_ ? session_->LocalPlayerId() : 0; }
    std::vector<PlayerInfo> Players() const;
    bool Send(std::vector<uint8_t> gameMessage);
    size_t Waiting() const { return session_ ? session_->Waiting() : 0; }
    std::optional<ReceivedMessage> Receive();

private:
    // Waits for the close of the previous session.
    void AwaitClose();

    // What a worker thread hands back: the sessions of a search or the session of a join.
    struct WorkResult {
        std::optional<std::vector<SessionInfo>> sessions;
        std::unique_ptr<LanSession> session;
        std::string error;
    };

    LanConfig config_;
    std::function<void()> wake_;
    std::unique_ptr<LanSession> session_;
    std::future<WorkResult> work_;
    std::future<void> closing_;
};

}  // namespace platform::net
