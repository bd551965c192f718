#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class ReadResult { Ok, Missing, Failed };

// Reads at most `maxBytes` of the file at `path` (a real path).
ReadResult ReadBinaryFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out);

// Writes `bytes` to a new file beside `path` and renames it over `path`, so the old file is
// replaced only by a completely written new one. False when anything fails (the old file is
// then untouched).
bool ReplaceBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace platform
