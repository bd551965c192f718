#pragma once
#include <memory>

#include "platform/MessageBoxPicture.h"
#include "platform/Surface.h"

struct SDL_Window;

namespace platform {

class Display;

// Shows a message box picture and waits until the player closes it: Enter, Space, Esc or a
// click on OK. Over the game's screen (letterboxed like it) once the game has presented a
// frame; before that in a window of its own. Input comes through the platform message queue,
// so a script drives the box as it drives every other loop.
class MessageBoxWindow {
public:
    // Blocks until the box is closed. False when it could not be shown at all.
    static bool Run(const MessageBoxPicture& picture);
    // The picture of a box shown in a window of its own, while one is open (script snapshots);
    // null otherwise.
    static const Surface* StandalonePicture();

    ~MessageBoxWindow();
    MessageBoxWindow(const MessageBoxWindow&) = delete;
    MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

private:
    explicit MessageBoxWindow(const MessageBoxPicture& picture);
    bool Open();
    bool OpenStandalone();
    void Redraw();
    // Handles one message; false when it closes the box.
    bool Handle(const struct Message& message);
    void MapToBox(int32_t& x, int32_t& y) const;

    const MessageBoxPicture& picture_;
    Display* display_ = nullptr;
    std::shared_ptr<Surface> under_;  // the game's screen, over which the box is drawn
    std::shared_ptr<Surface> shown_;
    SDL_Window* window_ = nullptr;
    bool videoStarted_ = false;
    int32_t left_ = 0;
    int32_t top_ = 0;
    bool hover_ = false;
    bool pressed_ = false;
};

}  // namespace platform
