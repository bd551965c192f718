#include "platform/net/SessionSearch.h"

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/net/DiscoveryQuery.h"
#include "platform/net/DiscoveryReply.h"
#include "platform/net/UdpSocket.h"

namespace platform::net {

namespace {

uint64_t FreshToken() {
    std::random_device rd;
    return (static_cast<uint64_t>(rd()) << 32) ^ rd();
}

}  // namespace

std::optional<std::vector<SessionInfo>> SessionSearch::Run(const LanConfig& config, const std::string& applicationId,
                                                           std::chrono::milliseconds window, std::string* error) {
    UdpSocket socket;
    if (!socket.Open(0, false, error)) return std::nullopt;
    DiscoveryQuery query{FreshToken(), applicationId};
    const std::vector<uint8_t> bytes = query.Encode();
    const std::vector<uint32_t> targets = config.Targets();
    int sendError = 0;
    auto sendAll = [&] {
        bool sent = false;
        for (uint32_t target : targets) {
            if (socket.SendTo(bytes, target, config.port)) {
                sent = true;
            } else {
                sendError = errno;
            }
        }
        return sent;
    };
    if (!sendAll()) {
        if (error) *error = std::string("the search could not be sent: ") + std::strerror(sendError);
        return std::nullopt;
    }

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + window;
    // A second query halfway through covers a lost first one; the answers it brings twice
    // are dropped below.
    bool repeated = false;
    std::vector<SessionInfo> found;
    for (;;) {
        auto now = Clock::now();
        if (now >= deadline) break;
        if (!repeated && now >= start + window / 2) {
            sendAll();
            repeated = true;
        }
        auto until = repeated ? deadline : start + window / 2;
        int waitMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(until - now).count());
        auto datagram = socket.Receive(waitMs > 0 ? waitMs : 1, DiscoveryQuery::kMaxDatagram);
        if (!datagram || found.size() >= kMaxSessions) continue;
        auto reply = DiscoveryReply::Decode(datagram->bytes);
        if (!reply || reply->token != query.token || reply->applicationId != applicationId) continue;
        bool duplicate = false;
        for (const auto& s : found)
            if (s.address == datagram->address && s.instance == reply->instance) duplicate = true;
        if (duplicate) continue;
        SessionInfo info;
        info.name = reply->sessionName;
        info.currentPlayers = reply->currentPlayers;
        info.maxPlayers = reply->maxPlayers;
        info.user1 = reply->user1;
        info.address = datagram->address;
        info.port = reply->port;
        info.instance = reply->instance;
        found.push_back(std::move(info));
    }
    return found;
}

}  // namespace platform::net
