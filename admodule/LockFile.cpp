#include "admodule/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tavi {

LockFile::LockFile(const std::string& path) {
    // Made as the queue files are (the umask decides who else may open it); one that another user
    // made and this one may not write is still locked through reading.
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0) fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
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
