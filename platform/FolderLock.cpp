#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace platform {
namespace {

constexpr auto kLongestWait = std::chrono::seconds(5);
constexpr auto kRetry = std::chrono::milliseconds(5);

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
    fd_ = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    const auto giveUp = std::chrono::steady_clock::now() + kLongestWait;
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= giveUp) return;
        std::this_thread::sleep_for(kRetry);
    }
}

FolderLock::~FolderLock() {
    if (fd_ < 0) return;
    if (held_) flock(fd_, LOCK_UN);
    close(fd_);
}

}  // namespace platform
