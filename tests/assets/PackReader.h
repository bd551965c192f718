#pragma once
#include <string>
#include <vector>

struct SDL_Surface;

// Reads the entries of a resource pack (zip archive) by name.
class PackReader {
public:
    explicit PackReader(const std::string& path);
    ~PackReader();
    PackReader(const PackReader&) = delete;
    PackReader& operator=(const PackReader&) = delete;

    bool ok() const { return zip_ != nullptr; }
    std::vector<std::string> names() const;
    // Empty when the entry is missing.
    std::vector<unsigned char> read(const std::string& entry) const;

private:
    void* zip_ = nullptr;
};

std::string distPath(const std::string& relative);

// A picture of the pack decoded by libpng's simplified reader and converted to RGB565 as the
// game loads it; nullptr when missing or undecodable.
struct Picture565 {
    int w = 0, h = 0;
    bool hasAlpha = false;
    std::vector<unsigned short> px;
    unsigned short at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};
bool loadPicture(const PackReader& pack, const std::string& name, Picture565& out);
