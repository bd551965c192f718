#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/DiscoveryResponder.h"
#include "platform/net/LanConfig.h"
#include "platform/net/MessageInbox.h"
#include "platform/net/PlayerList.h"
#include "platform/net/SessionTypes.h"
#include "platform/net/WaitingConnections.h"

struct _ENetHost;
struct _ENetPeer;
struct _ENetEvent;

namespace platform::net {

// One open session of at most two players, hosted or joined, with a network thread of its own.
// The thread answers discovery queries (host), services the ENet host and keeps the connection
// alive whatever the game thread does; the game thread only touches locked state: the player
// list, the queue of received messages and the queue of messages to send.
//
// The host keeps the player list and sends it to the client. Both sides queue the system
// messages kSystemPlayerCreated and kSystemPlayerDestroyed (sender 0) when a player joins or
// leaves; a peer that vanishes is noticed by its time-out within kVanishedAfter.
//
// Connections that have not asked to join yet wait apart (WaitingConnections); only joined
// players fill the session, so a silent connection never keeps a real player out.
class LanSession {
public:
    static constexpr std::chrono::milliseconds kJoinTimeout = WaitingConnections::kJoinTimeout;
    static constexpr std::chrono::milliseconds kVanishedAfter{4000};
    static constexpr size_t kMaxPending = WaitingConnections::kSlots;

    struct LocalPlayer {
        std::u16string shortName;
        std::u16string longName;
    };

    // Opens the discovery port of `config` and an ENet host on a free port, and creates the
    // host's player. nullptr (with a description in `error`) on failure.
    static std::unique_ptr<LanSession> Host(const LanConfig& config, const SessionDesc& desc, const LocalPlayer& player,
                                            std::function<void()> wake, std::string* error);
    // Connects to a session found by a search and creates the local player there. nullptr when
    // the session is full, gone, refuses the password or does not answer within `timeout`.
    static std::unique_ptr<LanSession> Join(const SessionInfo& session, const std::u16string& password,
                                            const LocalPlayer& player, std::function<void()> wake,
                                            std::chrono::milliseconds timeout, std::string* error);

    // Leaves without a word: the peer notices the silence by its time-out.
    ~LanSession();
    LanSession(const LanSession&) = delete;
    LanSession& operator=(const LanSession&) = delete;

    // Tells the peer that this side leaves, then stops. Later sends do nothing.
    void Close();

    bool IsHost() const { return isHost_; }
    int32_t LocalPlayerId() const { return localId_; }
    uint16_t SessionPort() const { return sessionPort_; }
    std::vector<PlayerInfo> Players() const { return players_.All(); }

    // Queues one game message for the other player. False (nothing sent) when the bytes are
    // not a valid game message or the session is closed.
    bool Send(std::vector<uint8_t> gameMessage);
    size_t Waiting() const { return inbox_.Size(); }
    std::optional<ReceivedMessage> Receive() { return inbox_.Pop(); }

private:
    LanSession(bool isHost, std::function<void()> wake);
    bool OpenHost(const LanConfig& config, std::string* error);
    bool Handshake(const SessionInfo& session, const std::u16string& password, const LocalPlayer& player,
                   std::chrono::milliseconds timeout, std::string* error);
    // Starts the session's thread; false, with the reason in `error`, when none can be started.
    bool Start(std::string* error);
    void Stop();
    void Wake();
    void Loop();
    void FlushOutbox();
    void Service();
    void HandleEvent(const _ENetEvent& event);
    void HandleHostPacket(const std::vector<uint8_t>& bytes);
    void HandleJoin(_ENetPeer* peer, const std::vector<uint8_t>& bytes);
    void HandleClientPacket(const std::vector<uint8_t>& bytes);
    void PeerLost(_ENetPeer* peer);
    // Queues a game message of the other player; a full inbox drops that player.
    void Deliver(std::vector<uint8_t> gameMessage);
    void SendPacket(_ENetPeer* peer, const std::vector<uint8_t>& bytes);
    void ReplacePlayers(std::vector<PlayerInfo> players);

    const bool isHost_;
    MessageInbox inbox_;
    PlayerList players_;
    _ENetHost* enet_ = nullptr;
    _ENetPeer* peer_ = nullptr;  // network thread only (after Start); on the host, the joined player
    bool peerJoined_ = false;
    WaitingConnections waiting_;    // network thread only
    DiscoveryResponder discovery_;  // network thread only
    SessionDesc desc_;
    uint16_t sessionPort_ = 0;
    int32_t localId_ = 0;

    mutable std::mutex mutex_;  // guards outbox_, closed_
    std::vector<std::vector<uint8_t>> outbox_;
    bool closed_ = false;

    int wakeFd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace platform::net
