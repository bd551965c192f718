#pragma once
#include <memory>
#include <thread>
#include <vector>

#include "platform/Presenter.h"
#include "platform/ScaledCopy.h"

struct SDL_Rect;
struct SDL_Surface;
struct SDL_Window;

namespace platform {

// Presentation without a renderer: the back surface is converted into the window's own
// framebuffer (SDL_GetWindowSurface), scaled by the nearest pixel and letterboxed, and only
// the changed rectangles are drawn and sent to the screen.
class SurfacePresenter : public Presenter {
public:
    // Null when the window has no framebuffer to draw into.
    static std::unique_ptr<SurfacePresenter> Create(SDL_Window* window);
    ~SurfacePresenter() override;

    bool Present(const Surface& back, const std::vector<Rect>& changed, bool whole) override;
    bool Restore(bool) override {
        mapped_ = nullptr;
        return true;
    }
    std::string Name() const override { return "surface"; }
    void MapPointer(int32_t& x, int32_t& y) const override;

private:
    explicit SurfacePresenter(SDL_Window* window);
    // Sets up the copy for the current framebuffer; false when it cannot be drawn into.
    bool Map(SDL_Surface* frame);
    bool DrawGeneric(SDL_Surface* frame, const Surface& back, const std::vector<Rect>& changed, bool whole);

    SDL_Window* window_;
    SDL_Surface* mapped_ = nullptr;  // the framebuffer `copy_` was set up for
    int32_t mappedWidth_ = 0;
    int32_t mappedHeight_ = 0;
    std::unique_ptr<ScaledCopy> copy_;  // null when the framebuffer is not 32-bit
    std::vector<SDL_Rect> shown_;       // the window rectangles sent to the screen this frame
    std::thread touch_;                 // takes the framebuffer's first page faults (Create)
};

}  // namespace platform
