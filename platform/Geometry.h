#pragma once
#include <cstdint>

namespace platform {

// Left, top, right, bottom; right and bottom exclusive. All zero means "the whole surface"
// wherever a copy takes a rectangle.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const Size&) const = default;
};

}  // namespace platform
