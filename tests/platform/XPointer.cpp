#include "XPointer.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

void WarpPointerInto(SDL_Window* window, int32_t x, int32_t y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    ::Display* other = XOpenDisplay(nullptr);
    if (other == nullptr) return;
    XWarpPointer(other, None, info.info.x11.window, 0, 0, 0, 0, x, y);
    XCloseDisplay(other);
}
