#pragma once
#include <memory>
#include <string>
#include <thread>

namespace platform {

// Keeps the program to one running copy per user: the running copy listens on an abstract Unix
// socket; a later start connects, asks it to restore and raise its window (the running copy
// finds WM_APP_RESTORE in its message queue) and ends.
class SingleInstance {
public:
    // "glyphor-<uid>", or "glyphor-" + GLYPHOR_INSTANCE when that is set.
    static std::string DefaultName();
    // Becomes the running copy under `name`. Null when another copy already runs; it has then
    // been asked to restore its window. When the socket cannot be used at all the program runs
    // without the check (an object that listens for nothing).
    static std::unique_ptr<SingleInstance> Acquire(const std::string& name);
    ~SingleInstance();

    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

private:
    explicit SingleInstance(int listenFd);
    void Listen();

    int fd_ = -1;
    std::thread listener_;
};

}  // namespace platform
