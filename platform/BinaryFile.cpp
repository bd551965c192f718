#include "platform/BinaryFile.h"

#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
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

// How long a file that is no plain file (a pipe, a terminal) may keep its first bytes back: a
// pipe nobody writes into must not hold the game at start-up or in a round.
constexpr int kFirstBytesWaitMs = 1000;

// True when `fd` has something to read, or its end, within the wait (signals do not lengthen it).
bool FirstBytesCome(int fd) {
    pollfd p{fd, POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFirstBytesWaitMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        const int n = poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
        if (n < 0 && errno == EINTR) continue;
        return n > 0;
    }
}

}  // namespace

ReadResult ReadBinaryFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out, std::string* why) {
    out.clear();
    // Opening does not wait for a pipe's writer; the read waits for it a while below.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        // A folder on the way that is a file, or a name longer than the system takes, leaves no
        // file to read either: the save that follows says what stands in the way.
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return ReadResult::Missing;
        FailErrno(why);
        return ReadResult::Failed;
    }
    // The buffer starts at the file's size (one byte more, to see the end without growing) and
    // grows only for a file that is longer than it said, so a small file under a large bound
    // costs what it holds.
    struct stat st {};
    size_t expected = 0;
    const bool plain = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (plain && st.st_size > 0) {
        expected = static_cast<uint64_t>(st.st_size) < maxBytes ? static_cast<size_t>(st.st_size) : maxBytes;
    }
    if (!plain && !FirstBytesCome(fd)) {
        close(fd);
        Fail(why, "nothing came to read within a second (a pipe with no writer?)");
        return ReadResult::Failed;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
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
    return ReplaceFileContents(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), why);
}

namespace {

bool WriteBytes(int fd, const std::vector<uint8_t>& bytes, std::string* why) {
    return platform::WriteAll(fd, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) ||
           FailErrno(why);
}

// The standard output or error stream that `st` is the file of, or -1.
int StandardStreamOf(const struct stat& st) {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (fstat(fd, &open) == 0 && open.st_dev == st.st_dev && open.st_ino == st.st_ino) return fd;
    }
    return -1;
}

}  // namespace

bool WriteToStreamFile(const std::string& path, const std::vector<uint8_t>& bytes, bool& isStream, std::string* why) {
    struct stat st {};
    isStream = false;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return true;
    // /dev/stdout names the file the program writes to (a log it appends to, say): written on
    // through that stream, as it was opened.
    if (const int fd = StandardStreamOf(st); fd >= 0) {
        isStream = true;
        return WriteBytes(fd, bytes, why);
    }
    if (S_ISREG(st.st_mode)) return true;
    isStream = true;
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return FailErrno(why);
    const bool written = WriteBytes(fd, bytes, why);
    return (close(fd) == 0 || FailErrno(why)) && written;
}

bool RenameFile(const std::string& from, const std::string& to, std::string* why) {
    return std::rename(from.c_str(), to.c_str()) == 0 || FailErrno(why);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void ReportFileSizeLimitAsAFailedWrite() { std::signal(SIGXFSZ, SIG_IGN); }

void ReportClosedPipeAsAFailedWrite() { std::signal(SIGPIPE, SIG_IGN); }

std::string DamagedFileName(const std::string& path) {
    constexpr int kLastNumber = 999;
    std::string name = path + ".damaged";
    struct stat info {};
    for (int n = 2; n <= kLastNumber && ::lstat(name.c_str(), &info) == 0; ++n)
        name = path + ".damaged-" + std::to_string(n);
    return name;
}

}  // namespace platform
