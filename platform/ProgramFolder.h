#pragma once
#include <string>

namespace platform {

// Where the player's own files (settings, high scores) are kept: in the Game/ folder beside the
// data (the build tree's program folder, which travels with its files), or in the XDG folders of
// the user who plays (an installed copy, which writes nothing under its prefix).
enum class PlayerFilesPlace { BesideProgram, PerUser };

// The folder the read-only data lies below ("Game/", "Data/"), ending in '/'. Until start-up finds
// the data it is the folder of the running executable.
const std::string& ProgramFolder();
// Start-up points the program folder at the data it found; tests point it at their own folders.
void SetProgramFolder(const std::string& folder, PlayerFilesPlace place = PlayerFilesPlace::BesideProgram);
PlayerFilesPlace WherePlayerFilesAre();
// A path written with backslashes below the program folder ("\Game\Setting.DAT") as a real path.
std::string ProgramPath(const std::string& relative);
// The folder of the running executable, ending in '/'.
std::string ExecutableFolder();

}  // namespace platform
