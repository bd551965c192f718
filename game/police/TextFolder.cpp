#include "police/TextFolder.h"

#include "platform/BinaryFile.h"
#include "platform/FolderListing.h"

TextFolder::TextFolder(std::string path) : path_(std::move(path)) {}

std::vector<std::string> TextFolder::TxtFileNames() const { return platform::ListFiles(path_, ".txt", kMaxFiles); }

bool TextFolder::ReadFirstLine(const std::string& fileName, std::string& line) const {
    line.clear();
    const std::string path = path_ + fileName;
    if (!platform::IsPlainFile(path)) return false;
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(path, kMaxLineBytes, bytes) != platform::ReadResult::Ok) return false;
    for (uint8_t b : bytes) {
        if (b == '\r' || b == '\n') break;
        line.push_back(static_cast<char>(b));
    }
    return true;
}
