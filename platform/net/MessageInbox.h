#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/net/SessionTypes.h"

namespace platform::net {

// The locked queue between the network thread (which pushes) and the game thread (which takes).
// Every push calls the wake function, outside the lock. A queue holding kCapacity messages
// refuses further game messages (the session then drops the other player rather than lose
// messages out of the middle of the stream); system messages have a reserve of their own
// beyond it, so the notice that the player left always arrives.
class MessageInbox {
public:
    static constexpr size_t kCapacity = 1024;
    static constexpr size_t kSystemReserve = 16;

    explicit MessageInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    // False (nothing queued) when the queue is full.
    bool Push(ReceivedMessage message);
    void PushSystem(int32_t code, int32_t playerId);
    std::optional<ReceivedMessage> Pop();
    size_t Size() const;

private:
    bool Queue(ReceivedMessage message, size_t limit);

    mutable std::mutex mutex_;
    std::deque<ReceivedMessage> queue_;
    std::function<void()> wake_;
};

}  // namespace platform::net
