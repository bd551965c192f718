#include "police/TextFolder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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
    std::error_code ec;
    const fs::path path = fs::path(path_) / fileName;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    char c;
    while (line.size() < kMaxLineBytes && in.get(c)) {
        if (c == '\r' || c == '\n') break;
        line.push_back(c);
    }
    return true;
}
