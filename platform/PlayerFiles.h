#pragma once
#include <string>

namespace platform {

// The folder that keeps the player's settings and preferences, ending in '/'.
std::string PlayerConfigFolder();
// The folder that keeps what the player's games leave behind (high scores, history), ending in '/'.
std::string PlayerDataFolder();

}  // namespace platform
