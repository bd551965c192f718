#include "police/SpriteTable.h"

#include "police/Runner.h"

namespace {
int32_t Clamp03(int32_t v) { return v < 0 ? 0 : (v > 3 ? 3 : v); }
}  // namespace

SpriteTable::SpriteTable() {
    // Per pose: police, thief.
    static constexpr SpriteFrames kPolice[4] = {{61, 85, 9, 2}, {69, 91, 8, 2}, {92, 99, 17, 1}, {77, 82, 11, 1}};
    static constexpr SpriteFrames kThief[4] = {{95, 101, 11, 2}, {62, 93, 8, 2}, {100, 101, 8, 2}, {85, 92, 8, 2}};
    for (auto& heading : frames_) {
        for (int pose = 0; pose < 4; ++pose) {
            heading[pose][0] = kPolice[pose];
            heading[pose][1] = kThief[pose];
        }
    }
}

const SpriteFrames& SpriteTable::Get(int32_t heading, int32_t pose, int32_t role) const {
    return frames_[Clamp03(heading)][Clamp03(pose)][role == 0 ? 0 : 1];
}

int32_t SpriteTable::StripIndex(int32_t role, int32_t pose, int32_t heading) {
    return (role == 0 ? 0 : 1) + Clamp03(pose) * 2 + Clamp03(heading) * 8;
}

platform::Rect SpriteTable::FrameRect(const Runner& r) const {
    const SpriteFrames& g = Get(r.Heading, r.Pose, r.Role);
    const int32_t left = (r.Frame % 3) * g.Width;
    const int32_t top = (r.Frame / 3) * g.Height;
    return {left, top, left + g.Width, top + g.Height};
}
