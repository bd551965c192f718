#include "platform/PlayerFiles.h"

#include "platform/ProgramFolder.h"

namespace platform {

// The program folder's Game/ keeps the player's files beside the packs.
std::string PlayerConfigFolder() { return ProgramPath("\\Game\\"); }

std::string PlayerDataFolder() { return ProgramPath("\\Game\\"); }

}  // namespace platform
