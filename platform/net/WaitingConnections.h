#pragma once
#include <array>
#include <chrono>
#include <cstddef>

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

private:
    struct Slot {
        _ENetPeer* peer = nullptr;
        std::chrono::steady_clock::time_point deadline{};
    };
    std::array<Slot, kSlots> slots_{};
};

}  // namespace platform::net
