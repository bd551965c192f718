#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace platform {

// Decodes PNG bytes into a new RGB565 surface without a colour key; null on failure.
SurfacePtr LoadPng(const std::vector<uint8_t>& bytes);
// Writes a surface as a PNG file (snapshots, contact sheets).
bool SavePng(const Surface& surface, const std::string& path);

}  // namespace platform
