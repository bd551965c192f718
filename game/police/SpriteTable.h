#pragma once
#include <array>
#include <cstdint>

#include "platform/Geometry.h"

struct Runner;

// Geometry of one sprite strip: frames of Width x Height, three to a row, each shown
// TicksPerFrame + 1 frames.
struct SpriteFrames {
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t FrameCount = 0;
    uint8_t TicksPerFrame = 0;
};

// The strip geometry of every heading, pose and role (all headings alike).
class SpriteTable {
public:
    SpriteTable();

    const SpriteFrames& Get(int32_t heading, int32_t pose, int32_t role) const;
    // Index of the picture "POLICE_role_pose_heading" among the 32 strips.
    static int32_t StripIndex(int32_t role, int32_t pose, int32_t heading);
    // Source rectangle of the runner's current frame in its strip.
    platform::Rect FrameRect(const Runner& r) const;

private:
    // [heading][pose][role]
    std::array<std::array<std::array<SpriteFrames, 2>, 4>, 4> frames_{};
};
