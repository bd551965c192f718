#pragma once
// The lock every export holds while it runs. Calls are served in the order they came: a thread
// that calls in a loop cannot take the lock again ahead of one that has been waiting, so a call
// waits at most for the calls that came before it.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace tavi {

class CallLock {
public:
    void lock();
    void unlock();

private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;
};

}  // namespace tavi
