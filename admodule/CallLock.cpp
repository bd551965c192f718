#include "admodule/CallLock.h"

namespace tavi {

void CallLock::lock() {
    std::unique_lock<std::mutex> hold(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    turn_.wait(hold, [&] { return serving_ == ticket; });
}

void CallLock::unlock() {
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        ++serving_;
    }
    turn_.notify_all();
}

}  // namespace tavi
