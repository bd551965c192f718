#pragma once
#include <string>
#include <vector>

namespace assetgen {

// A resource pack: a zip archive of named entries, written deterministically
// (fixed timestamps, entries in the order added).
class ZipPack {
public:
    void add(const std::string& entry, std::vector<unsigned char> bytes, bool compress);
    // Writes the archive to path (replacing it). Throws on failure.
    void write(const std::string& path) const;

private:
    struct Entry {
        std::string name;
        std::vector<unsigned char> bytes;
        bool compress;
    };
    std::vector<Entry> entries_;
};

}  // namespace assetgen
