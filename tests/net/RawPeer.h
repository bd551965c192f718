#pragma once
#include <arpa/inet.h>
#include <enet/enet.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/net/SessionPacket.h"

namespace nettest {

// A bare ENet client on loopback that speaks the session protocol only as far as a test makes
// it: it can send anything, well-formed or not, and collects what it receives.
class RawPeer {
public:
    explicit RawPeer(uint16_t port) {
        enet_initialize();
        host_ = enet_host_create(nullptr, 1, 1, 0, 0);
        ENetAddress address{};
        address.host = htonl(0x7F000001u);
        address.port = port;
        if (host_) peer_ = enet_host_connect(host_, &address, 1, 0);
    }
    ~RawPeer() {
        if (peer_ && !disconnected_) enet_peer_reset(peer_);
        if (host_) enet_host_destroy(host_);
    }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    // Sends the request to connect and never confirms the host's answer: a handshake left
    // half done.
    void RequestOnly() {
        if (host_) enet_host_flush(host_);
    }

    bool Connect() {
        if (!connected_) connected_ = peer_ && PumpUntil(ENET_EVENT_TYPE_CONNECT, 2000);
        return connected_;
    }

    // Connects and asks to join; true once the host accepted.
    bool Join(const std::u16string& name) {
        if (!Connect()) return false;
        Send(platform::net::SessionPacket::Join(u"", name, u"Client").Encode());
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(2000);
        while (std::chrono::steady_clock::now() < deadline) {
            Pump(10);
            for (const auto& p : received_) {
                auto packet = platform::net::SessionPacket::Decode(p);
                if (packet && packet->kind == platform::net::SessionPacket::kAccept) return true;
            }
        }
        return false;
    }

    void Send(const std::vector<uint8_t>& bytes) {
        ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
        if (enet_peer_send(peer_, 0, packet) != 0) enet_packet_destroy(packet);
        enet_host_flush(host_);
    }
    void SendGame(const std::vector<uint8_t>& message) { Send(platform::net::SessionPacket::Game(message).Encode()); }

    // Services the connection for up to `ms` (0: once, without waiting).
    void Pump(int ms) {
        ENetEvent ev;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        do {
            while (enet_host_service(host_, &ev, ms > 0 ? 5 : 0) > 0) Note(ev);
        } while (std::chrono::steady_clock::now() < deadline);
    }

    // The game messages received so far, in order.
    std::vector<std::vector<uint8_t>> GameMessages() const {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& p : received_) {
            auto packet = platform::net::SessionPacket::Decode(p);
            if (packet && packet->kind == platform::net::SessionPacket::kGame) out.push_back(packet->game);
        }
        return out;
    }

    void Disconnect() {
        enet_peer_disconnect(peer_, 0);
        PumpUntil(ENET_EVENT_TYPE_DISCONNECT, 1000);
        disconnected_ = true;
    }
    bool Disconnected() const { return disconnected_; }

private:
    bool PumpUntil(ENetEventType want, int ms) {
        ENetEvent ev;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline) {
            if (enet_host_service(host_, &ev, 5) > 0) {
                ENetEventType type = ev.type;
                Note(ev);
                if (type == want) return true;
            }
        }
        return false;
    }
    void Note(ENetEvent& ev) {
        if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
            received_.emplace_back(ev.packet->data, ev.packet->data + ev.packet->dataLength);
            enet_packet_destroy(ev.packet);
        } else if (ev.type == ENET_EVENT_TYPE_DISCONNECT) {
            disconnected_ = true;
        }
    }

    ENetHost* host_ = nullptr;
    ENetPeer* peer_ = nullptr;
    bool connected_ = false;
    bool disconnected_ = false;
    std::vector<std::vector<uint8_t>> received_;
};

}  // namespace nettest
