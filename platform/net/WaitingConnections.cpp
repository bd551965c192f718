#include "platform/net/WaitingConnections.h"

#include <enet/enet.h>

#include <algorithm>

#include "platform/net/SessionPacket.h"

namespace platform::net {

void WaitingConnections::Add(ENetPeer* peer) {
    auto slot = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.peer == nullptr; });
    if (slot == slots_.end()) {
        slot = std::min_element(slots_.begin(), slots_.end(),
                                [](const Slot& a, const Slot& b) { return a.deadline < b.deadline; });
        enet_peer_disconnect_now(slot->peer, SessionPacket::kFull);
    }
    slot->peer = peer;
    slot->deadline = std::chrono::steady_clock::now() + kJoinTimeout;
}

bool WaitingConnections::Contains(const ENetPeer* peer) const {
    return peer != nullptr && std::any_of(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.peer == peer; });
}

bool WaitingConnections::Remove(const ENetPeer* peer) {
    for (auto& s : slots_) {
        if (s.peer == peer && peer != nullptr) {
            s = Slot{};
            return true;
        }
    }
    return false;
}

void WaitingConnections::DropExpired() {
    const auto now = std::chrono::steady_clock::now();
    for (auto& s : slots_) {
        if (s.peer != nullptr && now > s.deadline) {
            enet_peer_disconnect_now(s.peer, 0);
            s = Slot{};
        }
    }
}

}  // namespace platform::net
