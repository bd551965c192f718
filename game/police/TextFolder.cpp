#include "police/TextFolder.h"

#include <algorithm>
#include <set>

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

TextFolder::TextFolder(std::string path, std::string ownPath) : path_(std::move(path)), ownPath_(std::move(ownPath)) {}

std::vector<std::string> TextFolder::Folders() const {
    if (ownPath_.empty()) return {path_};
    return {ownPath_, path_};
}

std::vector<std::string> TextFolder::TxtFileNames() const {
    std::vector<std::string> names;
    // Names in upper case: a name the player's folder lists hides the shipped one.
    std::set<std::string> seen;
    for (const std::string& folder : Folders()) {
        for (std::string& name : platform::ListFiles(folder, ".txt", kMaxNamesRead)) {
            std::string key(name.size(), '\0');
            std::transform(name.begin(), name.end(), key.begin(), [](char c) { return static_cast<char>(Upper(c)); });
            if (seen.insert(std::move(key)).second) names.push_back(std::move(name));
        }
    }
    // The first names in the list's order, whatever order the file system gave them in.
    std::sort(names.begin(), names.end(), ListedBefore);
    if (names.size() > kMaxFiles) names.resize(kMaxFiles);
    return names;
}

bool TextFolder::ReadFirstLine(const std::string& fileName, std::string& line) const {
    line.clear();
    std::string path;
    for (const std::string& folder : Folders()) {
        const std::string found = platform::FindFileIgnoringCase(folder, fileName, kMaxNamesRead);
        if (!found.empty()) {
            path = folder + found;
            break;
        }
    }
    if (path.empty()) return false;
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(path, kMaxLineBytes, bytes) != platform::ReadResult::Ok) return false;
    // A byte-order mark, and blank lines after it before the text (lines of spaces and tabs
    // too), are no part of it.
    size_t at = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) at = 3;
    const auto blank = [](uint8_t b) { return b == '\r' || b == '\n' || b == ' ' || b == '\t'; };
    size_t start = at;
    for (; at < bytes.size() && blank(bytes[at]); ++at) {
        if (bytes[at] == '\r' || bytes[at] == '\n') start = at + 1;
    }
    for (at = start; at < bytes.size(); ++at) {
        if (bytes[at] == '\r' || bytes[at] == '\n') break;
        line.push_back(static_cast<char>(bytes[at]));
    }
    return true;
}
