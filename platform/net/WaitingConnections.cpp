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

void WaitingConnections::DropStalledHandshakes(ENetHost& host) {
    const auto now = std::chrono::steady_clock::now();
    handshakes_.resize(host.peerCount);
    ENetPeer* oldest = nullptr;
    bool slotFree = false;
    for (size_t i = 0; i < host.peerCount; ++i) {
        ENetPeer& peer = host.peers[i];
        Handshake& handshake = handshakes_[i];
        if (peer.state == ENET_PEER_STATE_DISCONNECTED) slotFree = true;
        if (peer.state != ENET_PEER_STATE_ACKNOWLEDGING_CONNECT) {
            handshake = Handshake{};
            continue;
        }
        if (handshake.since == std::chrono::steady_clock::time_point{} || handshake.connectId != peer.connectID)
            handshake = Handshake{peer.connectID, now};
        if (now - handshake.since > kJoinTimeout) {
            enet_peer_reset(&peer);
            handshake = Handshake{};
            slotFree = true;
        } else if (oldest == nullptr || handshake.since < handshakes_[oldest - host.peers].since) {
            oldest = &peer;
        }
    }
    if (!slotFree && oldest != nullptr) {
        handshakes_[oldest - host.peers] = Handshake{};
        enet_peer_reset(oldest);
    }
}

}  // namespace platform::net
