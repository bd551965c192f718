#pragma once
#include <cstdint>
#include <functional>

#include "platform/Surface.h"

class GraphicEngine;

// One frame of a modal dialog over the current screen: lost surfaces are restored, the screen
// below is redrawn, the dialog's background goes at (x, y) with the dialog's own drawing on top,
// and the frame is presented. Nothing is drawn without a background or a graphic engine.
class DialogFrame {
public:
    static void Draw(const platform::SurfacePtr& background, int32_t x, int32_t y,
                     const std::function<void(GraphicEngine&)>& drawContents);
};
