#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

namespace platform::net {

// The host's connections that have not asked to join yet. They wait in kSlots slots of their
// own, each dropped when it has not joined within kJoinTimeout, so that a silent connection
// never takes the place of a real player. Used by the session's network thread alone.
class WaitingConnections {
public:
    static constexpr std::chrono::milliseconds kJoinTimeout{2500};
    static constexpr size_t kSlots = 4;

    // Gives `peer` a slot until kJoinTimeout from now. With every slot taken, the connection
    // that has waited longest is disconnected to make room: a real player asks to join right
    // after connecting, so it is never the oldest for long.
    void Add(_ENetPeer* peer);
    bool Contains(const _ENetPeer* peer) const;
    // Forgets `peer`; false when it was not waiting.
    bool Remove(const _ENetPeer* peer);
    // Disconnects the connections whose time to join has run out.
    void DropExpired();

    // Handshakes hold slots of `host` too, before they become connections: one that is never
    // confirmed would keep its slot for the library's own timeout, up to 30 s, and a handful of
    // unanswered requests would keep every player out that long. A handshake is dropped once it
    // is older than kJoinTimeout, and the oldest is dropped whenever no slot is left free, so a
    // new request always finds one: a real player confirms within a round trip.
    void DropStalledHandshakes(_ENetHost& host);

private:
    struct Slot {
        _ENetPeer* peer = nullptr;
        std::chrono::steady_clock::time_point deadline{};
    };
    // When each of the host's slots was first seen in a handshake, and which one.
    struct Handshake {
        uint32_t connectId = 0;
        std::chrono::steady_clock::time_point since{};
    };
    std::array<Slot, kSlots> slots_{};
    std::vector<Handshake> handshakes_;
};

}  // namespace platform::net
