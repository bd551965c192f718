#include "platform/FolderListing.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix, size_t maxFiles) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator() && names.size() < maxFiles; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(std::move(name));
    }
    return names;
}

bool IsPlainFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace platform
