#include "admodule/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace tavi {
namespace {

std::string Target(const std::string& path) {
    if (char* real = realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    return path;
}

std::string FolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

// The rename itself lives in the folder: flushing the folder makes it last.
void FlushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    static std::atomic<unsigned> serial{0};
    const std::string target = Target(path);
    const std::string temporary =
        target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(serial.fetch_add(1));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(temporary.c_str());
        return false;
    }
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fd) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    FlushFolder(FolderOf(target));
    return true;
}

bool ReplaceFile(const std::string& path, std::string_view contents) {
    return ReplaceFile(path, [contents](std::FILE* file) {
        return contents.empty() || std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    });
}

}  // namespace tavi
