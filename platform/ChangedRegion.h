#pragma once
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace platform {

// Finds the parts of a screen that differ from the picture presented before it, as a few
// rectangles that together cover every changed pixel. Rows are compared in bands; a band that
// changed gives one rectangle spanning its changed columns, and neighbouring bands merge while
// that wastes little area.
class ChangedRegion {
public:
    static constexpr int32_t kBandRows = 16;
    static constexpr size_t kMaxRects = 12;

    // The changed rectangles of `now` against `before` (same size); empty when nothing changed.
    // Surfaces of different sizes give one rectangle covering `now`.
    static std::vector<Rect> Find(const Surface& now, const Surface& before);
    // The same into `rects` (cleared first), which keeps its room from frame to frame.
    static void Find(const Surface& now, const Surface& before, std::vector<Rect>& rects);
    // The same, looking only inside `area` (within both surfaces): every rectangle lies in it.
    static void Find(const Surface& now, const Surface& before, const Rect& area, std::vector<Rect>& rects);
};

}  // namespace platform
