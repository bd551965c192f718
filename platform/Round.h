#pragma once
#include <cmath>
#include <cstdint>

namespace platform {

// A position in floating point as the pixel it falls on: the nearest whole number, halves away
// from zero.
inline int32_t Round(float v) { return static_cast<int32_t>(std::lround(v)); }

}  // namespace platform
