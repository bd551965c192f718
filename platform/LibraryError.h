#pragma once
#include <string>

namespace platform {

// The reason the desktop library gave for its last failure (opening the window, the renderer,
// the sound output), for the player's message; empty when it gave none.
std::string LastLibraryError();

}  // namespace platform
