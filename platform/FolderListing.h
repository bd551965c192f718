#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Names of the plain files in `folder` whose names end in `suffix`, in the order the file
// system lists them, at most `maxFiles` of them. A missing or unreadable folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix, size_t maxFiles);

// True for a plain file (not a folder, pipe or device, which could not be read or would block).
bool IsPlainFile(const std::string& path);

}  // namespace platform
