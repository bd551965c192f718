#include "platform/PlayerFiles.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/ProgramFolder.h"

namespace platform {
namespace {

constexpr const char* kOwnFolder = "glyphor/";

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    // No home at all: the files cannot be kept, and saving them says so.
    return "/nonexistent";
}

// Every missing folder of `path` is made, readable by its owner alone; existing ones are left as
// they are. A folder that cannot be made shows when a file in it is written.
void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

// $variable when it holds an absolute path (a relative one is to be ignored), else ~/fallback.
std::string UserFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string base = value != nullptr && value[0] == '/' ? std::string(value) : HomeFolder() + "/" + fallback;
    if (base.back() != '/') base.push_back('/');
    const std::string folder = base + kOwnFolder;
    MakeFolders(folder);
    return folder;
}

bool BesideProgram() { return WherePlayerFilesAre() == PlayerFilesPlace::BesideProgram; }

}  // namespace

std::string PlayerConfigFolder() {
    return BesideProgram() ? ProgramPath("\\Game\\") : UserFolder("XDG_CONFIG_HOME", ".config");
}

std::string PlayerDataFolder() {
    return BesideProgram() ? ProgramPath("\\Game\\") : UserFolder("XDG_DATA_HOME", ".local/share");
}

std::string PlayerTextFolder() {
    if (BesideProgram()) return std::string();
    // Made when missing, so the player finds where their texts go.
    const std::string folder = PlayerDataFolder() + "texts/";
    MakeFolders(folder);
    return folder;
}

}  // namespace platform
