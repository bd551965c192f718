#pragma once
#include <cstdint>

// The button number MouseDown and MouseUp are given for the left mouse button, the only one the
// game reacts to.
inline constexpr int32_t kLeftButton = 1;
