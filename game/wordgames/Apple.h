#pragma once
#include <cstdint>
#include <string>

// One falling apple of the apple game.
struct Apple {
    static constexpr int32_t kFalling = 0;
    static constexpr int32_t kWaiting = 1;  // thrown in again on the next frame
    static constexpr int32_t kFallen = 2;   // lying on the ground

    float X = 0;  // left edge
    float Y = 0;  // top edge, negative above the screen
    float Speed = 0;
    std::u16string Letter;
    int32_t State = kWaiting;
    uint8_t FallenFrames = 0;
};
