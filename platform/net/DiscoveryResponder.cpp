#include "platform/net/DiscoveryResponder.h"

#include <random>

#include "platform/net/DiscoveryQuery.h"
#include "platform/net/DiscoveryReply.h"

namespace platform::net {

namespace {

uint64_t Random64() {
    std::random_device rd;
    return (static_cast<uint64_t>(rd()) << 32) ^ rd();
}

}  // namespace

bool DiscoveryResponder::Open(SessionDesc desc, uint16_t port, std::string* error) {
    desc_ = std::move(desc);
    instance_ = Random64();
    std::string why;
    if (socket_.Open(port, true, &why)) return true;
    if (error) *error = "Cannot listen on port " + std::to_string(port) + ": " + why;
    return false;
}

void DiscoveryResponder::Close() { socket_ = UdpSocket(); }

void DiscoveryResponder::Answer(uint16_t sessionPort, const std::function<int32_t()>& currentPlayers) {
    if (!socket_.IsOpen()) return;
    for (int i = 0; i < kQueriesPerPass; ++i) {
        auto datagram = socket_.Receive(0, DiscoveryQuery::kMaxDatagram);
        if (!datagram) return;
        auto query = DiscoveryQuery::Decode(datagram->bytes);
        if (!query || query->applicationId != desc_.applicationId) continue;
        DiscoveryReply reply;
        reply.token = query->token;
        reply.applicationId = desc_.applicationId;
        reply.instance = instance_;
        reply.sessionName = desc_.name;
        reply.currentPlayers = currentPlayers();
        reply.maxPlayers = desc_.maxPlayers;
        reply.user1 = desc_.user1;
        reply.port = sessionPort;
        socket_.SendTo(reply.Encode(), datagram->address, datagram->port);
    }
}

}  // namespace platform::net
