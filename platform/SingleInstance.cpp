#include "platform/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/Message.h"
#include "platform/MessageQueue.h"

namespace platform {
namespace {

constexpr char kRequest[] = "restore\n";
constexpr char kAnswer[] = "ok\n";

socklen_t AbstractAddress(const std::string& name, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    // Abstract namespace: a leading zero byte, then the name (no file, gone with the process).
    const size_t len = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), len);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
}

void SetTimeouts(int fd, int ms) {
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

// Asks the running copy to restore its window. False when nobody answers the socket.
bool AskRunningCopy(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    const socklen_t len = AbstractAddress(name, addr);
    SetTimeouts(fd, 2000);
    bool asked = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0) {
        asked = send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof kRequest - 1);
        char answer[8];
        if (asked) (void)recv(fd, answer, sizeof answer, 0);  // the running copy has queued it
    }
    close(fd);
    return asked;
}

}  // namespace

std::string SingleInstance::DefaultName() {
    if (const char* name = std::getenv("GLYPHOR_INSTANCE"); name != nullptr && *name != '\0') {
        return std::string("glyphor-") + name;
    }
    return "glyphor-" + std::to_string(getuid());
}

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::string& name) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) break;
        sockaddr_un addr{};
        const socklen_t len = AbstractAddress(name, addr);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0 && listen(fd, 8) == 0) {
            return std::unique_ptr<SingleInstance>(new SingleInstance(fd));
        }
        const int err = errno;
        close(fd);
        if (err != EADDRINUSE) break;
        if (AskRunningCopy(name)) return nullptr;
        // The running copy is just ending: try to take its place.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance(-1));
}

SingleInstance::SingleInstance(int listenFd) : fd_(listenFd) {
    if (fd_ >= 0) listener_ = std::thread([this] { Listen(); });
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) shutdown(fd_, SHUT_RDWR);  // ends the blocked accept
    if (listener_.joinable()) listener_.join();
    if (fd_ >= 0) close(fd_);
}

void SingleInstance::Listen() {
    for (;;) {
        const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
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
