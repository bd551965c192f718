#pragma once
#include <cstdint>

// One figure of the race. Index 0 of the race's runners is always the police, index 1 the thief.
struct Runner {
    int32_t Segment = 0;  // current route leg, 0..9
    float MapX = 0.0f;    // top-left corner of the figure on the map
    float MapY = 0.0f;
    float Travelled = 0.0f;  // distance covered on the current leg (from its end after a reversal)
    float Speed = 0.0f;      // map units per frame
    int32_t StepX = 0;       // pixel step per unit of speed
    int32_t StepY = 0;
    uint8_t Frame = 0;        // current animation frame
    uint8_t HoldCount = 0;    // frames the current animation frame has been shown
    int32_t Role = 0;         // sprite set: 0 police, 1 thief
    int32_t Pose = 0;         // 0 standing, 1 on foot, 2 motorbike, 3 car
    int32_t Heading = 0;      // 0 up-left, 1 down-left, 2 up-right, 3 down-right
    float TopSpeed = 0.0f;    // 2.0 for the car, 1.3 for the motorbike
    int32_t VehiclePose = 0;  // pose shown at speed: 3 car, 2 motorbike
    int32_t InputPos = 0;     // characters of the race text typed correctly

    // Sets the heading and the pixel step that goes with it.
    void SetHeading(int32_t heading) {
        static constexpr int32_t kStepX[4] = {-2, -2, 2, 2};
        static constexpr int32_t kStepY[4] = {-1, 1, -1, 1};
        Heading = heading;
        StepX = kStepX[heading & 3];
        StepY = kStepY[heading & 3];
    }
};

// The two vehicles a runner can use.
inline constexpr float kCarTopSpeed = 2.0f;
inline constexpr float kBikeTopSpeed = 1.3f;  // 0x3FA66666
inline constexpr int32_t kCarPose = 3;
inline constexpr int32_t kBikePose = 2;
