#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A read-only zip pack of named resources ("GameRes.DLL" holds NAME.png, "GameSnd.DLL" NAME.wav),
// read with PhysicsFS.
class ResourcePack {
public:
    // Entries larger than this are refused.
    static constexpr int64_t kMaxEntryBytes = int64_t{32} << 20;

    // Null when the file is missing or not a readable archive.
    static std::unique_ptr<ResourcePack> Open(const std::string& path);
    ~ResourcePack();

    // Reads entry `name` (e.g. "POLICE_START.png"); false when absent. Entries are bounded
    // in size so a damaged pack cannot exhaust memory. Names are plain file names (letters,
    // digits, '_', '-', '.'; no folders).
    bool Read(const std::string& name, std::vector<uint8_t>& out) const;
    // Reads at most `count` bytes from the start of entry `name` (a picture's header, say)
    // without inflating the rest; false when absent.
    bool ReadPrefix(const std::string& name, size_t count, std::vector<uint8_t>& out) const;
    bool Contains(const std::string& name) const;
    const std::string& Path() const { return path_; }

    ResourcePack(const ResourcePack&) = delete;
    ResourcePack& operator=(const ResourcePack&) = delete;

private:
    ResourcePack(std::string path, std::string mountPoint);
    std::string path_;
    std::string mountPoint_;
};

}  // namespace platform
