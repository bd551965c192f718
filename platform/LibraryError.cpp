#include "platform/LibraryError.h"

#include <SDL.h>

namespace platform {

std::string LastLibraryError() {
    const char* error = SDL_GetError();
    return error != nullptr ? std::string(error) : std::string();
}

}  // namespace platform
