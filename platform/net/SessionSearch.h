#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/LanConfig.h"
#include "platform/net/SessionTypes.h"

namespace platform::net {

// One search for sessions: broadcasts a query with a fresh token and collects the answers that
// carry it back until the window closes. Answers for another identifier, with a stale token,
// or malformed are dropped, and so is a second answer from the same session. At most
// kMaxSessions are kept: a peer that floods the search with answers costs neither memory nor
// time beyond that.
class SessionSearch {
public:
    static constexpr std::chrono::milliseconds kWindow{200};
    static constexpr size_t kMaxSessions = 64;  // the lobby lists 15

    // nullopt when the query could not be sent, with the system's reason in `error` when given.
    static std::optional<std::vector<SessionInfo>> Run(const LanConfig& config, const std::string& applicationId,
                                                       std::chrono::milliseconds window = kWindow,
                                                       std::string* error = nullptr);
};

}  // namespace platform::net
