#include "admodule/CallLock.h"

namespace tavi {

void CallLock::lock() {
    std::unique_lock<std::mutex> hold(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    turn_.wait(hold, [&] { return serving_ == ticket; });
    holder_ = std::this_thread::get_id();
}

void CallLock::unlock() {
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        holder_ = std::thread::id();
        if (++serving_ == givenUp_) ++serving_;
    }
    turn_.notify_all();
}

bool CallLock::LockWithin(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> hold(mutex_);
    if (holder_ == std::this_thread::get_id()) return false;
    const std::uint64_t ticket = nextTicket_++;
    if (!turn_.wait_for(hold, wait, [&] { return serving_ == ticket; })) {
        givenUp_ = ticket;
        return false;
    }
    holder_ = std::this_thread::get_id();
    return true;
}

}  // namespace tavi
