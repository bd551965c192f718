#include "platform/net/MessageInbox.h"

#include "platform/net/WireWriter.h"

namespace platform::net {

void MessageInbox::Push(ReceivedMessage message) {
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= kCapacity) return;
        queue_.push_back(std::move(message));
    }
    if (wake_) wake_();
}

void MessageInbox::PushSystem(int32_t code, int32_t playerId) {
    WireWriter w;
    w.Int32(code).Int32(playerId);
    Push(ReceivedMessage{0, w.Take()});
}

std::optional<ReceivedMessage> MessageInbox::Pop() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return std::nullopt;
    ReceivedMessage m = std::move(queue_.front());
    queue_.pop_front();
    return m;
}

size_t MessageInbox::Size() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

}  // namespace platform::net
