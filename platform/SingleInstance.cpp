#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <system_error>

#include "platform/Message.h"
#include "platform/MessageQueue.h"

namespace platform {
namespace {

constexpr char kRequest[] = "restore\n";
constexpr char kAnswer[] = "ok\n";
constexpr int kAttemptsPerName = 5;

// Where the running copy listens: a socket file, or an abstract name (no file, gone with the
// process).
struct Address {
    sockaddr_un addr{};
    socklen_t len = 0;
    std::string file;  // empty for an abstract name
};

Address AbstractAddress(const std::string& name) {
    Address a;
    a.addr.sun_family = AF_UNIX;
    // Abstract namespace: a leading zero byte, then the name.
    const size_t len = std::min(name.size(), sizeof(a.addr.sun_path) - 1);
    std::memcpy(a.addr.sun_path + 1, name.data(), len);
    a.len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
    return a;
}

std::optional<Address> FileAddress(const std::string& path) {
    Address a;
    if (path.size() >= sizeof(a.addr.sun_path)) return std::nullopt;
    a.addr.sun_family = AF_UNIX;
    std::memcpy(a.addr.sun_path, path.data(), path.size());
    a.len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    a.file = path;
    return a;
}

void SetTimeouts(int fd, int ms) {
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

const sockaddr* AsSockaddr(const Address& a) { return reinterpret_cast<const sockaddr*>(&a.addr); }

enum class Outcome { Held, Asked, Foreign, Unusable };

// Asks the copy at the other end of `fd` to restore its window. False when it does not take
// the request.
bool AskRunningCopy(int fd) {
    if (send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof kRequest - 1)) {
        return false;
    }
    char answer[8];
    (void)recv(fd, answer, sizeof answer, 0);  // the running copy has queued it
    return true;
}

// Listens on `address` (the listening socket in `held`), or asks the copy of `user` that holds
// it to restore its window.
Outcome TryAddress(const Address& address, uid_t user, int& held) {
    for (int attempt = 0; attempt < kAttemptsPerName; ++attempt) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return Outcome::Unusable;
        if (bind(fd, AsSockaddr(address), address.len) == 0) {
            if (listen(fd, 8) == 0) {
                held = fd;
                return Outcome::Held;
            }
            close(fd);
            if (!address.file.empty()) unlink(address.file.c_str());
            return Outcome::Unusable;
        }
        const int err = errno;
        close(fd);
        if (err != EADDRINUSE) return Outcome::Unusable;

        // The connect does not wait: a running copy takes connections at once, so a holder whose
        // queue is full (another user's, squatting on the name) is not ours.
        const int peer = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (peer < 0) return Outcome::Unusable;
        if (connect(peer, AsSockaddr(address), address.len) == 0) {
            (void)fcntl(peer, F_SETFL, fcntl(peer, F_GETFL) & ~O_NONBLOCK);
            SetTimeouts(peer, 2000);
            const bool ours = SingleInstance::PeerIsUser(peer, user);
            const bool asked = ours && AskRunningCopy(peer);
            close(peer);
            if (!ours) return Outcome::Foreign;
            if (asked) return Outcome::Asked;
        } else {
            const int connectErr = errno;
            close(peer);
            if (connectErr == EAGAIN) return Outcome::Foreign;
            // A file nobody listens on is left from a copy that did not end cleanly: its place is
            // free at once.
            if (!address.file.empty() && connectErr == ECONNREFUSED && unlink(address.file.c_str()) == 0) continue;
        }
        // Otherwise the running copy is just ending: try to take its place.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Outcome::Unusable;
}

std::string NameWithAlternate(const std::string& name, int alternate) {
    if (alternate == 0) return name;
    return name + "." + std::to_string(alternate);
}

// Keeps two copies starting at once from both taking a socket file for stale.
class FolderLock {
public:
    explicit FolderLock(const std::string& path) {
        if (path.empty()) return;
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ >= 0) (void)flock(fd_, LOCK_EX);
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace

std::string SingleInstance::DefaultName() {
    std::string name = std::string{"glyphor-"} + std::to_string(getuid());
    if (const char* instance = std::getenv("GLYPHOR_INSTANCE"); instance != nullptr && *instance != '\0') {
        name += '-';
        name += instance;
    }
    return name;
}

std::string SingleInstance::RuntimeFolder(uid_t user) {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (folder == nullptr || folder[0] != '/') return "";
    struct stat st {};
    if (lstat(folder, &st) != 0 || !S_ISDIR(st.st_mode)) return "";
    if (st.st_uid != user || (st.st_mode & 0777) != 0700) return "";
    std::string path = folder;
    if (path.back() != '/') path.push_back('/');
    return path;
}

bool SingleInstance::PeerIsUser(int fd, uid_t user) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred) return false;
    return cred.uid == user;
}

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::string& name) { return Acquire(name, getuid()); }

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::string& name, uid_t user) {
    const std::string folder = RuntimeFolder(user);
    const FolderLock lock(folder.empty() ? std::string{} : folder + name + ".lock");
    for (int alternate = 0; alternate <= kAlternateNames; ++alternate) {
        const std::string candidate = NameWithAlternate(name, alternate);
        std::optional<Address> address;
        if (!folder.empty()) address = FileAddress(folder + candidate + ".socket");
        if (!address) address = AbstractAddress(candidate);
        int held = -1;
        switch (TryAddress(*address, user, held)) {
        case Outcome::Held:
            return std::unique_ptr<SingleInstance>(new SingleInstance(held, address->file, user));
        case Outcome::Asked:
            return nullptr;
        case Outcome::Foreign:
            continue;  // not a copy of ours: it cannot keep the game from starting
        case Outcome::Unusable:
            return std::unique_ptr<SingleInstance>(new SingleInstance(-1, "", user));
        }
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance(-1, "", user));
}

SingleInstance::SingleInstance(int listenFd, std::string socketFile, uid_t user)
    : fd_(listenFd), socketFile_(std::move(socketFile)), user_(user) {
    if (fd_ < 0) return;
    try {
        listener_ = std::thread([this] { Listen(); });
    } catch (const std::system_error&) {
        // No thread to spare: a second copy still finds the socket taken and ends after its
        // wait for an answer, but this one is not brought forward.
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) shutdown(fd_, SHUT_RDWR);  // ends the blocked accept
    if (listener_.joinable()) listener_.join();
    if (fd_ >= 0) close(fd_);
    if (!socketFile_.empty()) unlink(socketFile_.c_str());
}

void SingleInstance::Listen() {
    for (;;) {
        const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            // Out of descriptors or memory for now: a later copy is answered once some are free.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            return;  // the socket was shut down: the game ends
        }
        // Only a later copy of the same user may bring the window forward.
        if (!PeerIsUser(client, user_)) {
            close(client);
            continue;
        }
        SetTimeouts(client, 1000);
        char request[16] = {};
        const ssize_t got = recv(client, request, sizeof request - 1, 0);
        if (got >= static_cast<ssize_t>(sizeof kRequest - 1) &&
            std::memcmp(request, kRequest, sizeof kRequest - 1) == 0) {
            Message restore;
            restore.message = WM_APP_RESTORE;
            MessageQueue::Instance().PostFromAnyThread(restore);
            (void)send(client, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
        }
        close(client);
    }
}

}  // namespace platform
