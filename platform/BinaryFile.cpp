#include "platform/BinaryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

ReadResult ReadBinaryFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    out.resize(maxBytes);
    size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = read(fd, out.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            out.clear();
            return ReadResult::Failed;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    out.resize(got);
    return ReadResult::Ok;
}

bool ReplaceBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".new-" + std::to_string(getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

}  // namespace platform
