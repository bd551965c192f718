#include "admodule/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tavi {

LockFile::LockFile(const std::string& path) {
    // Only its owner may open it: no other user can take the lock and keep it.
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        ours_ = false;
        return;
    }
    int result = 0;
    do {
        result = flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    ours_ = result == 0;
}

LockFile::~LockFile() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace tavi
