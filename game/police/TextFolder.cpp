#include "police/TextFolder.h"

#include <algorithm>

#include "platform/BinaryFile.h"
#include "platform/FolderListing.h"

namespace {

unsigned char Upper(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

// Names compared with their letters in upper case (bytes as unsigned values, so names of the
// ANSI code page come after plain ones); names differing only in case keep a fixed order.
bool ListedBefore(const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [](char x, char y) { return Upper(x) < Upper(y); });
    if (less || !platform::SameIgnoringCase(a, b)) return less;
    return a < b;
}

}  // namespace

TextFolder::TextFolder(std::string path) : path_(std::move(path)) {}

std::vector<std::string> TextFolder::TxtFileNames() const {
    std::vector<std::string> names = platform::ListFiles(path_, ".txt", kMaxFiles);
    std::sort(names.begin(), names.end(), ListedBefore);
    return names;
}

bool TextFolder::ReadFirstLine(const std::string& fileName, std::string& line) const {
    line.clear();
    const std::string found = platform::FindFileIgnoringCase(path_, fileName, kMaxFiles);
    if (found.empty()) return false;
    const std::string path = path_ + found;
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(path, kMaxLineBytes, bytes) != platform::ReadResult::Ok) return false;
    for (uint8_t b : bytes) {
        if (b == '\r' || b == '\n') break;
        line.push_back(static_cast<char>(b));
    }
    return true;
}
