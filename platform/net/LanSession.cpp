#include "platform/net/LanSession.h"

#include <enet/enet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <arpa/inet.h>

#include <string>
#include <system_error>

#include "platform/net/EnetClock.h"
#include "platform/net/GameMessage.h"
#include "platform/net/SessionPacket.h"

namespace platform::net {

namespace {

// How long the network thread sleeps at most between two services of the ENet host while it has
// a peer (connecting, connected or leaving), whose timers need serving; without one, only a
// datagram or the game's wake, which both end the sleep, bring it anything to do.
constexpr int kServiceIntervalMs = 10;
constexpr int kIdleServiceMs = 1000;
// Requests to connect that the host has answered but that are not yet confirmed.
constexpr size_t kHandshakeSlots = 8;
// Messages waiting to be sent; more are refused.
constexpr size_t kOutboxCapacity = 1024;
// Closing waits this long for the peer to confirm.
constexpr auto kCloseWait = std::chrono::milliseconds(200);

bool AnyPeer(const ENetHost& host) {
    for (size_t i = 0; i < host.peerCount; ++i) {
        if (host.peers[i].state != ENET_PEER_STATE_DISCONNECTED) return true;
    }
    return false;
}

// A vanished peer shows as unacknowledged pings (sent every 500 ms); after at most 3 s of them
// the peer is given up, well within LanSession::kVanishedAfter.
void ConfigurePeer(ENetPeer* peer) {
    enet_peer_ping_interval(peer, 500);
    enet_peer_timeout(peer, 0, 2000, 3000);
}

bool LongerThanAllowed(const std::u16string& s) { return s.size() > kMaxStringUnits; }

// No packet is longer than a session packet, and what a peer has begun sending but not finished
// is held to a few of them: the library would otherwise keep 32 MB for each peer, connected or
// not, for the pieces of packets it never completes.
void LimitPackets(ENetHost& host) {
    host.maximumPacketSize = SessionPacket::kMaxBytes;
    host.maximumWaitingData = 4 * SessionPacket::kMaxBytes;
}

}  // namespace

LanSession::LanSession(bool isHost, std::function<void()> wake) : isHost_(isHost), inbox_(std::move(wake)) {
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

LanSession::~LanSession() {
    Stop();
    if (enet_) enet_host_destroy(enet_);
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

std::unique_ptr<LanSession> LanSession::Host(const LanConfig& config, const SessionDesc& desc,
                                             const LocalPlayer& player, std::function<void()> wake,
                                             std::string* error) {
    if (LongerThanAllowed(desc.name) || LongerThanAllowed(desc.password) || LongerThanAllowed(player.shortName) ||
        LongerThanAllowed(player.longName)) {
        if (error) *error = "A session or player name is longer than 1024 characters.";
        return nullptr;
    }
    if (desc.maxPlayers < 1 || desc.maxPlayers > 2) {
        if (error) *error = "A session holds one or two players.";
        return nullptr;
    }
    std::unique_ptr<LanSession> s(new LanSession(true, std::move(wake)));
    s->desc_ = desc;
    if (!s->OpenHost(config, error)) return nullptr;
    s->localId_ = s->players_.NewId();
    s->players_.Add(PlayerInfo{s->localId_, player.shortName, player.longName});
    if (!s->Start(error)) return nullptr;
    return s;
}

bool LanSession::OpenHost(const LanConfig& config, std::string* error) {
    if (!StartEnet()) {
        if (error) *error = "The network library could not be started.";
        return false;
    }
    if (!discovery_.Open(desc_, config.port, error)) return false;
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = 0;
    // Peer slots: one for the player who joined, the waiting connections, one to refuse a
    // further player politely, and room for handshakes under way.
    enet_ = enet_host_create(&address, 2 + kMaxPending + kHandshakeSlots, 1, 0, 0);
    if (!enet_) {
        if (error) *error = "Cannot open the session port.";
        return false;
    }
    LimitPackets(*enet_);
    ENetAddress bound{};
    if (enet_socket_get_address(enet_->socket, &bound) != 0 || bound.port == 0) {
        if (error) *error = "Cannot read the session port.";
        return false;
    }
    sessionPort_ = bound.port;
    return true;
}

std::unique_ptr<LanSession> LanSession::Join(const SessionInfo& session, const std::u16string& password,
                                             const LocalPlayer& player, std::function<void()> wake,
                                             std::chrono::milliseconds timeout, std::string* error) {
    if (LongerThanAllowed(password) || LongerThanAllowed(player.shortName) || LongerThanAllowed(player.longName)) {
        if (error) *error = "A player name or password is longer than 1024 characters.";
        return nullptr;
    }
    std::unique_ptr<LanSession> s(new LanSession(false, std::move(wake)));
    if (!s->Handshake(session, password, player, timeout, error)) return nullptr;
    s->inbox_.PushSystem(kSystemPlayerCreated, s->localId_);
    if (!s->Start(error)) return nullptr;
    return s;
}

bool LanSession::Handshake(const SessionInfo& session, const std::u16string& password, const LocalPlayer& player,
                           std::chrono::milliseconds timeout, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        if (peer_) enet_peer_reset(peer_);
        peer_ = nullptr;
        return false;
    };
    if (!StartEnet()) return fail("The network library could not be started.");
    enet_ = enet_host_create(nullptr, 1, 1, 0, 0);
    if (!enet_) return fail("Cannot open a network port.");
    LimitPackets(*enet_);
    ENetAddress address{};
    address.host = htonl(session.address);
    address.port = session.port;
    peer_ = enet_host_connect(enet_, &address, 1, 0);
    if (!peer_) return fail("Cannot connect.");
    ConfigurePeer(peer_);

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        ENetEvent ev;
        int r = enet_host_service(enet_, &ev, kServiceIntervalMs);
        if (r < 0) return fail("The connection failed.");
        if (r == 0) continue;
        if (ev.type == ENET_EVENT_TYPE_CONNECT) {
            SendPacket(peer_, SessionPacket::Join(password, player.shortName, player.longName).Encode());
            enet_host_flush(enet_);
        } else if (ev.type == ENET_EVENT_TYPE_DISCONNECT) {
            peer_ = nullptr;
            return fail(ev.data == SessionPacket::kFull ? "The session is full."
                                                        : "The session closed the connection.");
        } else if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
            std::vector<uint8_t> bytes(ev.packet->data, ev.packet->data + ev.packet->dataLength);
            enet_packet_destroy(ev.packet);
            auto packet = SessionPacket::Decode(bytes);
            if (!packet) continue;
            if (packet->kind == SessionPacket::kRefuse)
                return fail(packet->reason == SessionPacket::kWrongPassword ? "Wrong password."
                                                                            : "The session is full.");
            if (packet->kind == SessionPacket::kAccept) {
                localId_ = packet->playerId;
                players_.Replace(std::move(packet->players));
                peerJoined_ = true;
                return true;
            }
        }
    }
    return fail("The session does not answer.");
}

bool LanSession::Start(std::string* error) {
    try {
        thread_ = std::thread(&LanSession::Loop, this);
        return true;
    } catch (const std::system_error& e) {
        if (error) *error = std::string("No thread could be started for the session (") + e.what() + ").";
        Close();  // a joined host hears that this side is gone
        return false;
    }
}

void LanSession::Stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    Wake();
    thread_.join();
}

void LanSession::Wake() {
    if (wakeFd_ < 0) return;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void LanSession::Close() {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        closed_ = true;
    }
    Stop();
    if (!enet_) return;
    // The network thread has ended: from here this thread alone touches the ENet host.
    FlushOutbox();
    if (peer_) {
        // Sent after everything still queued for the peer.
        enet_peer_disconnect_later(peer_, 0);
        const auto deadline = std::chrono::steady_clock::now() + kCloseWait;
        bool confirmed = false;
        while (!confirmed && std::chrono::steady_clock::now() < deadline) {
            ENetEvent ev;
            int r = enet_host_service(enet_, &ev, kServiceIntervalMs);
            if (r < 0) break;
            if (r > 0 && ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
            if (r > 0 && ev.type == ENET_EVENT_TYPE_DISCONNECT && ev.peer == peer_) confirmed = true;
        }
        if (!confirmed) enet_peer_reset(peer_);
        peer_ = nullptr;
    }
    enet_host_destroy(enet_);
    enet_ = nullptr;
    discovery_.Close();
    players_.Clear();
}

bool LanSession::Send(std::vector<uint8_t> gameMessage) {
    if (!GameMessage::Decode(gameMessage)) return false;
    {
        std::lock_guard lock(mutex_);
        if (closed_ || outbox_.size() >= kOutboxCapacity) return false;
        outbox_.push_back(std::move(gameMessage));
    }
    Wake();
    return true;
}

void LanSession::Loop() {
    while (!stop_) {
        pollfd fds[3];
        nfds_t n = 0;
        if (wakeFd_ >= 0) fds[n++] = pollfd{wakeFd_, POLLIN, 0};
        fds[n++] = pollfd{enet_->socket, POLLIN, 0};
        if (discovery_.IsOpen()) fds[n++] = pollfd{discovery_.Fd(), POLLIN, 0};
        ::poll(fds, n, AnyPeer(*enet_) ? kServiceIntervalMs : kIdleServiceMs);
        if (wakeFd_ >= 0) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t r = ::read(wakeFd_, &count, sizeof count);
        }
        if (stop_) break;
        discovery_.Answer(sessionPort_, [this] { return static_cast<int32_t>(players_.Count()); });
        FlushOutbox();
        Service();
    }
}

void LanSession::FlushOutbox() {
    std::vector<std::vector<uint8_t>> pending;
    {
        std::lock_guard lock(mutex_);
        pending.swap(outbox_);
    }
    if (!peer_ || !peerJoined_) return;
    for (auto& message : pending) SendPacket(peer_, SessionPacket::Game(std::move(message)).Encode());
}

void LanSession::Service() {
    if (isHost_) {
        waiting_.DropExpired();
        waiting_.DropStalledHandshakes(*enet_);
    }
    ENetEvent ev;
    for (int guard = 0; guard < 256; ++guard) {
        if (enet_host_service(enet_, &ev, 0) <= 0) break;
        HandleEvent(ev);
    }
    enet_host_flush(enet_);
}

void LanSession::HandleEvent(const ENetEvent& ev) {
    switch (ev.type) {
    case ENET_EVENT_TYPE_CONNECT: {
        if (!isHost_) break;
        if (peer_ || players_.Count() >= static_cast<size_t>(desc_.maxPlayers)) {
            enet_peer_disconnect(ev.peer, SessionPacket::kFull);
            break;
        }
        waiting_.Add(ev.peer);
        ConfigurePeer(ev.peer);
        break;
    }
    case ENET_EVENT_TYPE_RECEIVE: {
        std::vector<uint8_t> bytes(ev.packet->data, ev.packet->data + ev.packet->dataLength);
        enet_packet_destroy(ev.packet);
        if (isHost_ && ev.peer != peer_) {
            HandleJoin(ev.peer, bytes);
        } else if (ev.peer == peer_) {
            if (isHost_)
                HandleHostPacket(bytes);
            else
                HandleClientPacket(bytes);
        }
        break;
    }
    case ENET_EVENT_TYPE_DISCONNECT:
        if (!waiting_.Remove(ev.peer)) PeerLost(ev.peer);
        break;
    case ENET_EVENT_TYPE_NONE:
        break;
    }
}

void LanSession::HandleHostPacket(const std::vector<uint8_t>& bytes) {
    auto packet = SessionPacket::Decode(bytes);
    if (packet && packet->kind == SessionPacket::kGame && peerJoined_) Deliver(packet->game);
}

void LanSession::HandleJoin(ENetPeer* peer, const std::vector<uint8_t>& bytes) {
    if (!waiting_.Contains(peer)) return;
    auto packet = SessionPacket::Decode(bytes);
    // Anything but a join from a connection that has not joined is not from a player.
    if (!packet || packet->kind != SessionPacket::kJoin) return;
    auto refuse = [&](uint32_t reason) {
        waiting_.Remove(peer);
        SendPacket(peer, SessionPacket::Refuse(reason).Encode());
        enet_peer_disconnect_later(peer, reason);
    };
    if (packet->password != desc_.password) return refuse(SessionPacket::kWrongPassword);
    if (peer_ != nullptr || players_.Count() >= static_cast<size_t>(desc_.maxPlayers)) {
        return refuse(SessionPacket::kFull);
    }
    waiting_.Remove(peer);
    PlayerInfo player{players_.NewId(), packet->shortName, packet->longName};
    std::vector<PlayerInfo> list = players_.Add(player);
    peer_ = peer;
    peerJoined_ = true;
    SendPacket(peer, SessionPacket::Accept(player.id, std::move(list)).Encode());
    inbox_.PushSystem(kSystemPlayerCreated, player.id);
}

void LanSession::HandleClientPacket(const std::vector<uint8_t>& bytes) {
    auto packet = SessionPacket::Decode(bytes);
    if (!packet) return;
    if (packet->kind == SessionPacket::kPlayers) {
        ReplacePlayers(std::move(packet->players));
    } else if (packet->kind == SessionPacket::kGame) {
        Deliver(packet->game);
    }
}

void LanSession::Deliver(std::vector<uint8_t> gameMessage) {
    const int32_t from = players_.OtherThan(localId_);
    if (from == 0 || inbox_.Push(ReceivedMessage{from, std::move(gameMessage)})) return;
    // The game has not taken its messages for a long while (a minimised window, say): rather
    // than lose one from the middle of the stream, the other player is dropped as if it had
    // left, and both sides take the leaving-player path.
    if (_ENetPeer* peer = peer_) {
        enet_peer_disconnect_now(peer, 0);
        PeerLost(peer);
    }
}

void LanSession::PeerLost(ENetPeer* peer) {
    if (peer != peer_) return;
    const bool joined = peerJoined_;
    peer_ = nullptr;
    peerJoined_ = false;
    if (!joined) return;
    std::vector<PlayerInfo> remaining;
    for (const auto& p : players_.All())
        if (p.id == localId_) remaining.push_back(p);
    ReplacePlayers(std::move(remaining));
}

void LanSession::ReplacePlayers(std::vector<PlayerInfo> players) {
    const PlayerList::Change change = players_.Replace(std::move(players));
    for (int32_t id : change.created) inbox_.PushSystem(kSystemPlayerCreated, id);
    for (int32_t id : change.destroyed) inbox_.PushSystem(kSystemPlayerDestroyed, id);
}

void LanSession::SendPacket(ENetPeer* peer, const std::vector<uint8_t>& bytes) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
}

}  // namespace platform::net
