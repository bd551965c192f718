#pragma once
#include <string>

namespace platform {

// The folders of the player's own files, ending in '/'. Beside the program (the build tree's
// program folder) both are its Game/ folder; for an installed copy they are the XDG folders of the
// user who plays, $XDG_CONFIG_HOME/glyphor/ and $XDG_DATA_HOME/glyphor/ (~/.config/glyphor/ and
// ~/.local/share/glyphor/ by default), made with mode 0700 when missing.

// The folder that keeps the player's settings and preferences.
std::string PlayerConfigFolder();
// The folder that keeps what the player's games leave behind (high scores, history).
std::string PlayerDataFolder();
// The folder of the player's own race texts, listed with the shipped ones; empty beside the
// program, whose text folder the player can add to directly.
std::string PlayerTextFolder();

}  // namespace platform
