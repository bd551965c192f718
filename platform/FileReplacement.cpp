#include "platform/FileReplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// A temporary name is "<file>" + this mark + "<process>-<serial>".
constexpr std::string_view kMark = ".new-";

bool Fail(std::string* why, int err) {
    if (why) *why = std::strerror(err);
    return false;
}

}  // namespace

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string MissingFolderReason(const std::string& file) {
    std::string folder = FolderOf(file);
    std::string missing;
    struct stat st {};
    while (stat(folder.c_str(), &st) != 0) {
        if (folder == "/" || folder == ".") return std::string();
        missing = folder;
        folder = FolderOf(folder);
    }
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    if (missing.empty()) return std::string();
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        return "the folder " + missing + " cannot be made: " + std::strerror(errno);
    }
    return "the folder " + missing + " does not exist";
}

namespace {

std::string NameOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The file a symbolic link names; the path itself when it names nothing yet.
std::string Target(const std::string& path) {
    if (char* real = realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    return path;
}

// The process's umask, read without changing it (umask() would, for every thread at once).
mode_t CurrentUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "re");
    if (status == nullptr) return 022;
    unsigned mask = 022;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
    }
    std::fclose(status);
    return static_cast<mode_t>(mask & 0777);
}

// Writes, sets the final permission bits and flushes; errno tells why on false.
bool Fill(int fd, std::string_view contents, mode_t mode) {
    return WriteAll(fd, contents) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
}

// The process id of a temporary name of `name`, or 0 when the name is not of that pattern.
pid_t TemporaryOwner(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() + kMark.size() || entry.substr(0, name.size()) != name ||
        entry.substr(name.size(), kMark.size()) != kMark) {
        return 0;
    }
    std::string_view rest = entry.substr(name.size() + kMark.size());
    const size_t dash = rest.find('-');
    const std::string_view pid = rest.substr(0, dash);
    const std::string_view serial = dash == std::string_view::npos ? std::string_view() : rest.substr(dash + 1);
    if (pid.empty() || pid.size() > 9 || (dash != std::string_view::npos && serial.empty())) return 0;
    for (std::string_view digits : {pid, serial}) {
        for (char c : digits) {
            if (c < '0' || c > '9') return 0;
        }
    }
    return static_cast<pid_t>(std::atol(std::string(pid).c_str()));
}

std::atomic<unsigned> g_serial{0};

std::string TemporaryName(const std::string& target) {
    return target + std::string(kMark) + std::to_string(getpid()) + "-" + std::to_string(g_serial.fetch_add(1));
}

// Opens the file the contents go to: unnamed when `unnamed` and the file system allows it
// (`named` stays empty), else under a fresh temporary name kept in `named`.
int OpenTemporary(const std::string& target, bool unnamed, std::string& named) {
    named.clear();
    if (unnamed) {
        const int fd = open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    }
    named = TemporaryName(target);
    return open(named.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

// Gives an unnamed file a temporary name next to `target`, for the rename.
bool NameTemporary(int fd, const std::string& target, std::string& named) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int tries = 0; tries < 100; ++tries) {
        named = TemporaryName(target);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) break;
    }
    named.clear();
    return false;
}

// Writes the new contents and renames them over `target`; errno tells why on false. Without
// /proc an unnamed file cannot be given a name: `retryNamed` then asks for a named one.
bool WriteAndRename(const std::string& target, std::string_view contents, mode_t mode, bool unnamed, bool& retryNamed) {
    std::string named;
    const int fd = OpenTemporary(target, unnamed, named);
    if (fd < 0) return false;
    bool ok = Fill(fd, contents, mode);
    if (ok && named.empty() && !NameTemporary(fd, target, named)) {
        retryNamed = errno == ENOENT || errno == EPERM || errno == EXDEV;
        ok = false;
    }
    int err = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(named.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok && !named.empty()) unlink(named.c_str());
    errno = err;
    return ok;
}

void FlushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)fsync(fd);
    close(fd);
}

}  // namespace

int RemoveDeadTemporaryFiles(const std::string& path) {
    const std::string target = Target(path);
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const pid_t owner = TemporaryOwner(entry->d_name, name);
        if (owner <= 0 || owner == getpid()) continue;
        if (kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to judge
        if (unlinkat(dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* why) {
    const std::string target = Target(path);
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) return Fail(why, EISDIR);
        // A pipe, terminal or device is no file to put another in the place of.
        if (!S_ISREG(old.st_mode)) {
            if (why) *why = "it is not a regular file";
            return false;
        }
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            if (why) *why = "the file is read-only";
            return false;
        }
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT && errno != ENOTDIR) {
        return Fail(why, errno);
    }
    RemoveDeadTemporaryFiles(target);
    bool retryNamed = false;
    if (!WriteAndRename(target, contents, mode, true, retryNamed) &&
        (!retryNamed || !WriteAndRename(target, contents, mode, false, retryNamed))) {
        const int err = errno;
        const std::string folder = err == ENOENT || err == ENOTDIR ? MissingFolderReason(target) : std::string();
        if (folder.empty()) return Fail(why, err);
        if (why) *why = folder;
        return false;
    }
    FlushFolder(FolderOf(target));
    return true;
}

namespace {

// Copies what is left to read of `in` to `out`; errno tells why on false.
bool CopyAll(int in, int out) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteAll(out, std::string_view(buffer.data(), static_cast<size_t>(n)))) return false;
    }
}

}  // namespace

bool CopyToNewFile(const std::string& from, const std::string& target, std::string* why) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) return Fail(why, errno);
    struct stat st {};
    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(in);
        if (why) *why = "it is not a regular file";
        return false;
    }
    RemoveDeadTemporaryFiles(target);
    const std::string named = TemporaryName(target);
    const int out = open(named.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = out >= 0 && CopyAll(in, out) && fchmod(out, 0666 & ~CurrentUmask()) == 0 && fsync(out) == 0;
    int err = errno;
    close(in);
    if (out >= 0 && close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    // link() takes no name that is there already, where a rename would replace it.
    if (ok && link(named.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (out >= 0) unlink(named.c_str());
    if (!ok) {
        if (why) *why = err == EEXIST ? "it is there already" : std::strerror(err);
        return false;
    }
    FlushFolder(FolderOf(target));
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
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

}  // namespace platform
