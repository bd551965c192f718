#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/net/SessionTypes.h"
#include "platform/net/UdpSocket.h"

namespace platform::net {

// The hosting side of a search: listens on the discovery port and answers each query that
// carries the session's application identifier with the session's name, its player counts and
// the port players connect to. Used by the session's network thread alone.
class DiscoveryResponder {
public:
    // Binds the (shared) discovery port to answer for the session `desc`, under a new random
    // instance number that tells this session apart from another one at the same address.
    // False with a description in `error` on failure.
    bool Open(SessionDesc desc, uint16_t port, std::string* error);
    void Close();
    bool IsOpen() const { return socket_.IsOpen(); }
    int Fd() const { return socket_.Fd(); }

    // Answers the queries waiting on the port, at most kQueriesPerPass of them so that a flood
    // does not starve the session. `currentPlayers` is asked once an answer.
    void Answer(uint16_t sessionPort, const std::function<int32_t()>& currentPlayers);

    static constexpr int kQueriesPerPass = 32;

private:
    UdpSocket socket_;
    SessionDesc desc_;
    uint64_t instance_ = 0;
};

}  // namespace platform::net
