#include "police/TextFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/BinaryFile.h"

namespace fs = std::filesystem;

TextFolder::TextFolder(std::string path) : path_(std::move(path)) {}

std::vector<std::string> TextFolder::TxtFileNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(path_, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        names.push_back(name);
        if (names.size() >= kMaxFiles) break;
    }
    return names;
}

bool TextFolder::ReadFirstLine(const std::string& fileName, std::string& line) const {
    line.clear();
    const std::string path = path_ + fileName;
    // Only plain files: anything else (a folder, a pipe) could not be read or would block.
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(path, kMaxLineBytes, bytes) != platform::ReadResult::Ok) return false;
    for (uint8_t b : bytes) {
        if (b == '\r' || b == '\n') break;
        line.push_back(static_cast<char>(b));
    }
    return true;
}
