#include "platform/PlayerFiles.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/FileReplacement.h"
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

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

// Whether the database beside `path` has a change it would undo or finish on its next open: a
// rollback journal whose header was written, or a log of changes with anything in it. A journal
// left empty or zeroed by a program that stopped is ignored by the database, and so here. One
// that cannot be read counts as unfinished.
bool ChangeUnfinished(const std::string& path, const char* suffix) {
    const std::string side = path + suffix;
    const int fd = open(side.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return errno != ENOENT;
    static constexpr std::array<unsigned char, 8> kJournalMagic = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    std::array<unsigned char, 8> head{};
    const ssize_t n = read(fd, head.data(), head.size());
    close(fd);
    if (n < 0) return true;
    if (std::string(suffix) == "-wal") return n > 0;
    return n == static_cast<ssize_t>(head.size()) && head == kJournalMagic;
}

}  // namespace

std::string PlayerConfigFolder() {
    return BesideProgram() ? ProgramPath("\\Game\\") : UserFolder("XDG_CONFIG_HOME", ".config");
}

std::string PlayerDataFolder() {
    return BesideProgram() ? ProgramPath("\\Game\\") : UserFolder("XDG_DATA_HOME", ".local/share");
}

void AdoptFromProgramFolder(const std::string& name, const std::string& folder) {
    if (BesideProgram()) return;
    const std::string from = ProgramPath("\\Game\\") + name;
    const std::string to = folder + name;
    if (!IsRegularFile(from) || Exists(to)) return;
    for (const char* unfinished : {"-journal", "-wal"}) {
        if (ChangeUnfinished(from, unfinished)) {
            std::fprintf(stderr, "%s is not taken over from %s: a change to it is unfinished (%s%s)\n", to.c_str(),
                         from.c_str(), from.c_str(), unfinished);
            return;
        }
    }
    std::string why;
    if (CopyToNewFile(from, to, &why)) {
        std::fprintf(stderr,
                     "%s is taken over from %s (a program folder this user cannot write) and kept from now on\n",
                     to.c_str(), from.c_str());
    } else if (!Exists(to)) {  // one made meanwhile is the player's, and stays
        std::fprintf(stderr, "%s cannot be taken over from %s: %s\n", to.c_str(), from.c_str(), why.c_str());
    }
}

std::string PlayerTextFolder() {
    if (BesideProgram()) return std::string();
    // Made when missing, so the player finds where their texts go.
    const std::string folder = PlayerDataFolder() + "texts/";
    MakeFolders(folder);
    return folder;
}

}  // namespace platform
