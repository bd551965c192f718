#pragma once
#include <cstdint>

union SDL_Event;

namespace platform {

// The left button's press as the message queue passed it on. A release the window never saw
// (it was hidden, or lost the focus, while the button was held) is made up where the pointer was
// last, so that no slider or button stays held after the player let go elsewhere.
class LeftPress {
public:
    // Each mouse message queued, at its place on the screen.
    void Note(uint32_t message, int32_t x, int32_t y);
    // Whether `event` shows that the release was lost: true, with where to release, once a press.
    bool ReleaseLost(const SDL_Event& event, int32_t& x, int32_t& y);

private:
    bool down_ = false;
    int32_t x_ = 0;
    int32_t y_ = 0;
};

}  // namespace platform
