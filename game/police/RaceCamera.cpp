#include "police/RaceCamera.h"

#include <algorithm>
#include <cmath>

namespace {
int32_t RoundClamp(float value, int32_t half, int32_t max) {
    const double v = std::nearbyint(static_cast<double>(value) - half);
    return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(max)));
}

// Far-off positions are held to a range that still lies wholly off the screen.
int32_t ToScreen(float value, int32_t origin) {
    const double v = std::nearbyint(static_cast<double>(value) - origin);
    return static_cast<int32_t>(std::clamp(v, -100000.0, 100000.0));
}
}  // namespace

void RaceCamera::Follow(float mapX, float mapY) {
    left_ = RoundClamp(mapX, 400, kMaxLeft);
    top_ = RoundClamp(mapY, 300, kMaxTop);
}

int32_t RaceCamera::ScreenX(float mapX) const { return ToScreen(mapX, left_); }

int32_t RaceCamera::ScreenY(float mapY) const { return ToScreen(mapY, top_); }
