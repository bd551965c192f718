#include "platform/net/MessageInbox.h"

#include "platform/net/WireWriter.h"

namespace platform::net {

bool MessageInbox::Queue(ReceivedMessage message, size_t limit) {
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= limit) return false;
        queue_.push_back(std::move(message));
    }
    if (wake_) wake_();
    return true;
}

bool MessageInbox::Push(ReceivedMessage message) { return Queue(std::move(message), kCapacity); }

void MessageInbox::PushSystem(int32_t code, int32_t playerId) {
    WireWriter w;
    w.Int32(code).Int32(playerId);
    Queue(ReceivedMessage{0, w.Take()}, kCapacity + kSystemReserve);
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
