#include "platform/LeftPress.h"

#include <SDL.h>

#include "platform/Message.h"

namespace platform {

void LeftPress::Note(uint32_t message, int32_t x, int32_t y) {
    if (message == WM_LBUTTONDOWN) down_ = true;
    if (message == WM_LBUTTONUP) down_ = false;
    x_ = x;
    y_ = y;
}

bool LeftPress::ReleaseLost(const SDL_Event& event, int32_t& x, int32_t& y) {
    if (!down_) return false;
    bool lost = false;
    if (event.type == SDL_WINDOWEVENT) {
        const auto what = event.window.event;
        lost =
            what == SDL_WINDOWEVENT_FOCUS_LOST || what == SDL_WINDOWEVENT_HIDDEN || what == SDL_WINDOWEVENT_MINIMIZED;
    } else if (event.type == SDL_MOUSEMOTION) {
        lost = (event.motion.state & SDL_BUTTON_LMASK) == 0;
    }
    if (!lost) return false;
    x = x_;
    y = y_;
    return true;
}

}  // namespace platform
