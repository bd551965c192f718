#include "platform/ResourcePack.h"

#include <fcntl.h>
#include <physfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

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

// The pack's file, open once for all of its streams, and closed with the last of them.
struct PackFile {
    explicit PackFile(int descriptor) : fd(descriptor) {}
    ~PackFile() { ::close(fd); }
    PackFile(const PackFile&) = delete;
    PackFile& operator=(const PackFile&) = delete;
    const int fd;
};

// A pack as the archive library reads it: a file opened once. The library copies the stream for
// every entry it reads; a copy reads that same open file at its own position (every read names
// its offset), where the library's own stream would open the file again by name. So a pack
// replaced on disk while the program runs (a package upgrade renames the new one over it) is
// still read, whole, from the file whose directory was read at the mount; the next mount reads
// the new one. No copy takes a descriptor: a program short of them still reads its pictures.
struct PackStream {
    PHYSFS_Io io;  // its opaque points back here
    std::shared_ptr<const PackFile> file;
    PHYSFS_uint64 size = 0;
    PHYSFS_uint64 position = 0;
    // The library reads a pack's directory and each entry's header a field (two or four bytes)
    // at a time: such small reads are served from a block read ahead, one system call for
    // 16 kB instead of one a field (some 3,000 when the picture pack opens).
    std::vector<char> ahead;
    PHYSFS_uint64 aheadStart = 0;
};

constexpr PHYSFS_uint64 kAheadBytes = 16384;
constexpr PHYSFS_uint64 kSmallRead = 1024;

PackStream& StreamOf(PHYSFS_Io* io) { return *static_cast<PackStream*>(io->opaque); }

// Up to `length` bytes of the file from `offset` (fewer at its end); -1 when nothing could be read.
PHYSFS_sint64 ReadAt(const PackStream& s, char* buffer, PHYSFS_uint64 length, PHYSFS_uint64 offset) {
    PHYSFS_uint64 done = 0;
    while (done < length && offset + done < s.size) {
        const ssize_t got = ::pread(s.file->fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return done > 0 ? static_cast<PHYSFS_sint64>(done) : -1;
        if (got == 0) break;
        done += static_cast<PHYSFS_uint64>(got);
    }
    return static_cast<PHYSFS_sint64>(done);
}

// Reads the block from the stream's position into `ahead`; false when nothing could be read.
bool ReadAhead(PackStream& s) {
    // No exception may leave a callback of the library (C code).
    try {
        s.ahead.resize(kAheadBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const PHYSFS_sint64 got = ReadAt(s, s.ahead.data(), kAheadBytes, s.position);
    s.ahead.resize(got > 0 ? static_cast<size_t>(got) : 0);
    s.aheadStart = s.position;
    return got >= 0;
}

PHYSFS_sint64 StreamRead(PHYSFS_Io* io, void* buffer, PHYSFS_uint64 length) {
    PackStream& s = StreamOf(io);
    if (length >= kSmallRead) {
        const PHYSFS_sint64 got = ReadAt(s, static_cast<char*>(buffer), length, s.position);
        if (got > 0) s.position += static_cast<PHYSFS_uint64>(got);
        return got;
    }
    const bool held = s.position >= s.aheadStart && s.position + length <= s.aheadStart + s.ahead.size();
    if (!held && !ReadAhead(s)) return -1;
    const PHYSFS_uint64 from = s.position - s.aheadStart;
    const PHYSFS_uint64 count = std::min<PHYSFS_uint64>(length, s.ahead.size() - from);
    std::memcpy(buffer, s.ahead.data() + from, static_cast<size_t>(count));
    s.position += count;
    return static_cast<PHYSFS_sint64>(count);
}

PHYSFS_sint64 StreamWrite(PHYSFS_Io*, const void*, PHYSFS_uint64) { return -1; }

int StreamSeek(PHYSFS_Io* io, PHYSFS_uint64 offset) {
    if (offset > StreamOf(io).size) return 0;
    StreamOf(io).position = offset;
    return 1;
}

PHYSFS_sint64 StreamTell(PHYSFS_Io* io) { return static_cast<PHYSFS_sint64>(StreamOf(io).position); }
PHYSFS_sint64 StreamLength(PHYSFS_Io* io) { return static_cast<PHYSFS_sint64>(StreamOf(io).size); }
int StreamFlush(PHYSFS_Io*) { return 1; }

void StreamDestroy(PHYSFS_Io* io) { delete &StreamOf(io); }

PHYSFS_Io* StreamDuplicate(PHYSFS_Io* io);

// A stream over `file`; null when there is no memory for it.
PHYSFS_Io* MakeStream(std::shared_ptr<const PackFile> file, PHYSFS_uint64 size) {
    auto* stream = new (std::nothrow) PackStream{PHYSFS_Io{0, nullptr, StreamRead, StreamWrite, StreamSeek, StreamTell,
                                                           StreamLength, StreamDuplicate, StreamFlush, StreamDestroy},
                                                 std::move(file),
                                                 size,
                                                 0,
                                                 {},
                                                 0};
    if (stream == nullptr) return nullptr;
    stream->io.opaque = stream;
    return &stream->io;
}

PHYSFS_Io* StreamDuplicate(PHYSFS_Io* io) { return MakeStream(StreamOf(io).file, StreamOf(io).size); }

// Mounts the regular file at `path` at `point`; false when it cannot be opened or is no archive.
bool MountPack(const std::string& path, const std::string& point) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::shared_ptr<const PackFile> file;
    try {
        file = std::make_shared<const PackFile>(fd);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    PHYSFS_Io* io = MakeStream(std::move(file), static_cast<PHYSFS_uint64>(st.st_size));
    if (io == nullptr) return false;
    if (PHYSFS_mountIo(io, path.c_str(), point.c_str(), 1) != 0) return true;
    io->destroy(io);
    return false;
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
        if (!MountPack(path, point)) return nullptr;
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
