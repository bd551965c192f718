#include "platform/ResourcePack.h"

#include <physfs.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace platform {
namespace {

// The archive library will not start without a home folder to name, although the game keeps
// nothing there: with no HOME and no account entry (a user id of a container) no pack could be
// read. It is lent "/" for its start-up alone.
bool StartPhysfs() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return PHYSFS_init(nullptr) != 0;
    const std::optional<std::string> kept = home != nullptr ? std::optional<std::string>(home) : std::nullopt;
    setenv("HOME", "/", 1);
    const bool ok = PHYSFS_init(nullptr) != 0;
    if (kept) {
        setenv("HOME", kept->c_str(), 1);
    } else {
        unsetenv("HOME");
    }
    return ok;
}

bool EnsurePhysfs() {
    static const bool ok = PHYSFS_isInit() != 0 || StartPhysfs();
    return ok;
}

// PhysicsFS mounts an archive once; packs opened twice share the mount.
struct Mount {
    std::string point;
    int users = 0;
};

std::map<std::string, Mount>& Mounts() {
    static std::map<std::string, Mount> mounts;
    return mounts;
}

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '-' || c == '.';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

ResourcePack::ResourcePack(std::string path, std::string mountPoint)
    : path_(std::move(path)), mountPoint_(std::move(mountPoint)) {}

std::unique_ptr<ResourcePack> ResourcePack::Open(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    if (!EnsurePhysfs()) return nullptr;
    auto& mounts = Mounts();
    auto it = mounts.find(path);
    if (it == mounts.end()) {
        static int next = 0;
        const std::string point = "/pack" + std::to_string(next++);
        if (PHYSFS_mount(path.c_str(), point.c_str(), 1) == 0) return nullptr;
        it = mounts.emplace(path, Mount{point, 0}).first;
    }
    ++it->second.users;
    return std::unique_ptr<ResourcePack>(new ResourcePack(path, it->second.point));
}

ResourcePack::~ResourcePack() {
    auto& mounts = Mounts();
    auto it = mounts.find(path_);
    if (it == mounts.end()) return;
    if (--it->second.users == 0) {
        PHYSFS_unmount(path_.c_str());
        mounts.erase(it);
    }
}

bool ResourcePack::Contains(const std::string& name) const {
    if (!ValidName(name)) return false;
    const std::string full = mountPoint_ + "/" + name;
    PHYSFS_Stat st;
    return PHYSFS_stat(full.c_str(), &st) != 0 && st.filetype == PHYSFS_FILETYPE_REGULAR;
}

bool ResourcePack::Read(const std::string& name, std::vector<uint8_t>& out) const {
    out.clear();
    if (!Contains(name)) return false;
    const std::string full = mountPoint_ + "/" + name;
    PHYSFS_File* file = PHYSFS_openRead(full.c_str());
    if (file == nullptr) return false;
    const PHYSFS_sint64 length = PHYSFS_fileLength(file);
    bool ok = length >= 0 && length <= kMaxEntryBytes;
    if (ok) {
        out.resize(static_cast<size_t>(length));
        ok = PHYSFS_readBytes(file, out.data(), static_cast<PHYSFS_uint64>(length)) == length;
    }
    PHYSFS_close(file);
    if (!ok) out.clear();
    return ok;
}

bool ResourcePack::ReadPrefix(const std::string& name, size_t count, std::vector<uint8_t>& out) const {
    out.clear();
    if (!Contains(name)) return false;
    const std::string full = mountPoint_ + "/" + name;
    PHYSFS_File* file = PHYSFS_openRead(full.c_str());
    if (file == nullptr) return false;
    out.resize(count);
    const PHYSFS_sint64 got = PHYSFS_readBytes(file, out.data(), static_cast<PHYSFS_uint64>(count));
    PHYSFS_close(file);
    if (got < 0) {
        out.clear();
        return false;
    }
    out.resize(static_cast<size_t>(got));
    return true;
}

}  // namespace platform
