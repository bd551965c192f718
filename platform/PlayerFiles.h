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
// A copy of the program folder the player cannot write keeps the player's files per user, but
// its Game/ folder may still hold those of the time it could be written. A file `name` found
// there and missing from `folder` (one of the two above) is copied into it and used from then
// on, with one line on standard error; an existing file is never replaced, and a database with
// an unfinished change beside it (its journal or log) is left where it is, with a line saying
// so. Nothing is done beside the program.
void AdoptFromProgramFolder(const std::string& name, const std::string& folder);
// The folder of the player's own race texts, listed with the shipped ones; empty beside the
// program, whose text folder the player can add to directly.
std::string PlayerTextFolder();

}  // namespace platform
