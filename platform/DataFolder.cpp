#include "platform/DataFolder.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// The build system passes where an installation puts the data and the module, both as absolute
// folders and relative to the folder the executable is installed in.
#ifndef GLYPHOR_INSTALL_DATA_DIR
#define GLYPHOR_INSTALL_DATA_DIR "/usr/local/share/glyphor"
#endif
#ifndef GLYPHOR_INSTALL_MODULE_DIR
#define GLYPHOR_INSTALL_MODULE_DIR "/usr/local/lib/glyphor"
#endif
#ifndef GLYPHOR_BIN_TO_DATA_DIR
#define GLYPHOR_BIN_TO_DATA_DIR "../share/glyphor"
#endif
#ifndef GLYPHOR_BIN_TO_MODULE_DIR
#define GLYPHOR_BIN_TO_MODULE_DIR "../lib/glyphor"
#endif

namespace platform {
namespace {

constexpr const char* kModuleFile = "libtavi.so";

std::string WithSlash(std::string folder) {
    if (folder.back() != '/') folder.push_back('/');
    return folder;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool HoldsData(const std::string& folder) { return IsFolder(folder + "Game"); }

// The folder without "..", links or doubled separators, as messages name it.
std::string Resolved(const std::string& folder) {
    char* real = realpath(folder.c_str(), nullptr);
    if (real == nullptr) return folder;
    std::string path = WithSlash(real);
    std::free(real);
    return path;
}

}  // namespace

DataFolderSearch FindDataFolder() {
    DataFolderSearch search;
    const char* chosen = std::getenv("GLYPHOR_DATA_DIR");
    if (chosen != nullptr && chosen[0] != '\0') {
        const std::string folder = WithSlash(chosen);
        search.tried.push_back(folder);
        if (HoldsData(folder)) search.found = folder;
        return search;
    }
    const std::string own = ExecutableFolder();
    search.tried.push_back(own);
    if (HoldsData(own)) {
        search.found = own;
        // A Game/ folder the player cannot write to (a read-only copy) keeps the files per user.
        if (access((own + "Game").c_str(), W_OK) == 0) search.place = PlayerFilesPlace::BesideProgram;
        return search;
    }
    for (const std::string& folder : {own + WithSlash(GLYPHOR_BIN_TO_DATA_DIR), WithSlash(GLYPHOR_INSTALL_DATA_DIR)}) {
        search.tried.push_back(folder);
        if (HoldsData(folder)) {
            search.found = Resolved(folder);
            return search;
        }
    }
    return search;
}

bool UseDataFolder() {
    const DataFolderSearch search = FindDataFolder();
    if (search.found.empty()) {
        std::string message = "glyphor_police: the game's data (a folder holding Game/) is in none of:";
        for (const std::string& folder : search.tried) message += " " + folder;
        message += " (set GLYPHOR_DATA_DIR to the folder that holds it)\n";
        std::fputs(message.c_str(), stderr);
        return false;
    }
    SetProgramFolder(search.found, search.place);
    return true;
}

std::string ModuleFolder() {
    if (WherePlayerFilesAre() == PlayerFilesPlace::BesideProgram || IsFile(ProgramFolder() + kModuleFile)) {
        return ProgramFolder();
    }
    for (const std::string& folder :
         {ExecutableFolder() + WithSlash(GLYPHOR_BIN_TO_MODULE_DIR), WithSlash(GLYPHOR_INSTALL_MODULE_DIR)}) {
        if (IsFile(folder + kModuleFile)) return Resolved(folder);
    }
    return ProgramFolder();
}

}  // namespace platform
