#pragma once
// The lock every export holds while it runs. Calls are served in the order they came: a thread
// that calls in a loop cannot take the lock again ahead of one that has been waiting, so a call
// waits at most for the calls that came before it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>

namespace tavi {

class CallLock {
public:
    void lock();
    void unlock();
    // Takes the lock in its turn, as lock() does, within `wait`. False at once when this thread
    // holds it already (a host that ends the process from a signal handler inside a call), and
    // false when the wait ends first: the turn is then passed over.
    bool LockWithin(std::chrono::milliseconds wait);

private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;
    std::thread::id holder_;
    std::uint64_t givenUp_ =
        std::numeric_limits<std::uint64_t>::max();  // a ticket whose wait ended: its turn is passed over
};

}  // namespace tavi
