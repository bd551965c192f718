#pragma once
#include <cstdint>

// The 800 x 600 window onto the 1600 x 1200 race map, centred on the local runner and held
// inside the map.
class RaceCamera {
public:
    static constexpr int32_t kMaxLeft = 800;
    static constexpr int32_t kMaxTop = 600;

    // Places the window around a runner whose top-left corner is at (mapX, mapY).
    void Follow(float mapX, float mapY);

    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    // Screen position of a map point, rounded to the nearest integer (ties to even).
    int32_t ScreenX(float mapX) const;
    int32_t ScreenY(float mapY) const;

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
};
