#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/net/SessionTypes.h"

namespace platform::net {

// The locked queue between the network thread (which pushes) and the game thread (which takes).
// Every push calls the wake function, outside the lock. A full queue drops what arrives.
class MessageInbox {
public:
    static constexpr size_t kCapacity = 1024;

    explicit MessageInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    void Push(ReceivedMessage message);
    void PushSystem(int32_t code, int32_t playerId);
    std::optional<ReceivedMessage> Pop();
    size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::deque<ReceivedMessage> queue_;
    std::function<void()> wake_;
};

}  // namespace platform::net
