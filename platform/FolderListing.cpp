#include "platform/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EndsWithIgnoringCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() && SameIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

}  // namespace

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix, size_t maxFiles) {
    std::vector<std::string> names;
    if (maxFiles == 0) return names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator() && names.size() < maxFiles; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!EndsWithIgnoringCase(name, suffix)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(std::move(name));
    }
    return names;
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name, size_t maxFiles) {
    if (IsPlainFile(folder + name)) return name;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (size_t seen = 0; !ec && it != fs::directory_iterator() && seen < maxFiles; it.increment(ec), ++seen) {
        std::string candidate = it->path().filename().string();
        std::error_code typeError;
        if (SameIgnoringCase(candidate, name) && it->is_regular_file(typeError)) return candidate;
    }
    return {};
}

bool NamedInside(const std::string& path, const std::string& folder) {
    std::error_code ec;
    fs::path within = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (!within.has_filename()) within = within.parent_path();  // "a/b/" ends in an empty name
    const fs::path absolute = fs::absolute(path, ec).lexically_normal();
    const fs::path named = fs::weakly_canonical(absolute.parent_path(), ec) / absolute.filename();
    return !ec && std::mismatch(within.begin(), within.end(), named.begin(), named.end()).first == within.end();
}

bool IsStreamFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec &&
           (fs::is_fifo(status) || fs::is_socket(status) || fs::is_character_file(status) || fs::is_block_file(status));
}

bool IsPlainFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace platform
