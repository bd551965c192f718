#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <array>

namespace platform {
namespace {

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}

}  // namespace

std::string ExecutableFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return "./";
    std::string path(buffer.data(), static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

namespace {

std::string& Folder() {
    static std::string folder = ExecutableFolder();
    return folder;
}

PlayerFilesPlace& Place() {
    static PlayerFilesPlace place = PlayerFilesPlace::BesideProgram;
    return place;
}

}  // namespace

const std::string& ProgramFolder() { return Folder(); }

void SetProgramFolder(const std::string& folder, PlayerFilesPlace place) {
    Folder() = WithTrailingSlash(folder);
    Place() = place;
}

PlayerFilesPlace WherePlayerFilesAre() { return Place(); }

std::string ProgramPath(const std::string& relative) {
    std::string tail;
    tail.reserve(relative.size());
    for (char c : relative) {
        if (c == '\\') c = '/';
        // Separators at the start or doubled ones collapse: the folder already ends in '/'.
        if (c == '/' && (tail.empty() || tail.back() == '/')) continue;
        tail.push_back(c);
    }
    return ProgramFolder() + tail;
}

}  // namespace platform
