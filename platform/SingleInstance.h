#pragma once
#include <sys/types.h>

#include <memory>
#include <string>
#include <thread>

namespace platform {

// Keeps the program to one running copy per user: the running copy listens on a Unix socket; a
// later start of the same user connects, asks it to restore and raise its window (the running
// copy finds WM_APP_RESTORE in its message queue) and ends.
//
// The socket is a file in $XDG_RUNTIME_DIR when that folder belongs to the user and nobody else
// may enter it (mode 0700); otherwise it is an abstract socket. Abstract names are open to every
// local user, so the credentials of the process at the other end are checked: a socket held by
// another user is not a running copy, and the program starts under the next free name.
class SingleInstance {
public:
    // Alternative names tried after a name held by another user.
    static constexpr int kAlternateNames = 4;

    // "glyphor-<uid>", or "glyphor-<uid>-" + GLYPHOR_INSTANCE when that is set.
    static std::string DefaultName();
    // Becomes the running copy under `name`. Null when another copy of this user already runs;
    // it has then been asked to restore its window. When no socket can be used at all the
    // program runs without the check (an object that listens for nothing).
    static std::unique_ptr<SingleInstance> Acquire(const std::string& name);
    // Acquire for a copy run by `user`: only a process of `user` counts as a running copy.
    static std::unique_ptr<SingleInstance> Acquire(const std::string& name, uid_t user);

    // $XDG_RUNTIME_DIR when it is a folder (not a link) owned by `user` with mode 0700; else empty.
    static std::string RuntimeFolder(uid_t user);
    // True when the process at the other end of the connected Unix socket `fd` runs as `user`.
    static bool PeerIsUser(int fd, uid_t user);

    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

private:
    SingleInstance(int listenFd, std::string socketFile, uid_t user);
    void Listen();

    int fd_ = -1;
    std::string socketFile_;  // empty for an abstract socket
    uid_t user_ = 0;
    std::thread listener_;
};

}  // namespace platform
