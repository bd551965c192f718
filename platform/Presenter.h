#pragma once
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace platform {

// One way of putting the 800x600 back surface on the window.
class Presenter {
public:
    virtual ~Presenter() = default;
    // Shows the back surface. `changed` lists the rectangles that differ from what this
    // presenter showed last; `whole` asks for everything (first present, window exposed or
    // resized, presenter restored). False when the window could not be drawn.
    virtual bool Present(const Surface& back, const std::vector<Rect>& changed, bool whole) = 0;
    // Recreates what a display reset loses. False when that fails.
    virtual bool Restore(bool deviceReset) = 0;
    // "surface" for the window surface, otherwise the renderer's name ("opengl", "software").
    virtual std::string Name() const = 0;
    // Turns a pointer position in window pixels into one on the 800x600 screen. A renderer's
    // logical size has already done so, hence no change by default.
    virtual void MapPointer(int32_t& x, int32_t& y) const {
        (void)x;
        (void)y;
    }
};

}  // namespace platform
