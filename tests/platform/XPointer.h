#pragma once
#include <cstdint>

struct SDL_Window;

// Moves the X server's pointer to (x, y) inside the window, from a connection of its own, as a
// player's hand would. Kept apart from the tests: Xlib's macros clash with the test framework's.
void WarpPointerInto(SDL_Window* window, int32_t x, int32_t y);
