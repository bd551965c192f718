#pragma once
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"

namespace platform {

// Where this copy of the program finds its read-only data (the folder holding Game/ and Data/).
//
// In order: $GLYPHOR_DATA_DIR alone when it is set; the executable's own folder when it holds a
// Game/ folder (the build tree's program folder, which keeps the player's files beside the data
// when that Game/ folder is writable); the data folder relative to the executable
// (../share/glyphor from bin/, so a moved prefix still works); the data folder compiled in.
struct DataFolderSearch {
    std::string found;  // ending in '/'; empty when no folder held the data
    PlayerFilesPlace place = PlayerFilesPlace::PerUser;
    std::vector<std::string> tried;  // every folder looked in, in order
};

DataFolderSearch FindDataFolder();

// Finds the data and makes its folder the program folder. When none is found it prints one
// message naming the folders looked in and returns false.
bool UseDataFolder();

// The folder of the advertising module (libtavi.so, config.xml, manifest.xml), ending in '/':
// the program folder when it holds the module (the build tree), else the module folder relative
// to the executable (../lib/glyphor from bin/), else the one compiled in.
std::string ModuleFolder();

}  // namespace platform
