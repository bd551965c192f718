#include "platform/BinaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

// How much a read buffer grows by at least when a file is longer than its size said.
constexpr size_t kGrowth = 64u << 10;

bool Fail(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return false;
}

bool FailErrno(std::string* why) { return Fail(why, std::strerror(errno)); }

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ReadResult ReadBinaryFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out, std::string* why) {
    out.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::Missing;
        FailErrno(why);
        return ReadResult::Failed;
    }
    // The buffer starts at the file's size (one byte more, to see the end without growing) and
    // grows only for a file that is longer than it said, so a small file under a large bound
    // costs what it holds.
    struct stat st {};
    size_t expected = 0;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        expected = static_cast<uint64_t>(st.st_size) < maxBytes ? static_cast<size_t>(st.st_size) : maxBytes;
    }
    out.resize(expected < maxBytes ? expected + 1 : maxBytes);
    size_t got = 0;
    while (got < maxBytes) {
        if (got == out.size()) out.resize(maxBytes - got > got + kGrowth ? got * 2 + kGrowth : maxBytes);
        const ssize_t n = read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            FailErrno(why);
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

bool ReplaceBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* why) {
    mode_t mode = 0644;
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) return Fail(why, std::strerror(EISDIR));
        // The permission bits, not access(): they hold for every user, the superuser included.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(why, "the file is read-only");
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return FailErrno(why);
    }
    const std::string temp = path + ".new-" + std::to_string(getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return FailErrno(why);
    bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int err = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        return Fail(why, std::strerror(err));
    }
    // The rename itself reaches the disk with its folder.
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)fsync(folder);
        close(folder);
    }
    return true;
}

}  // namespace platform
