#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace platform {

// Decodes PNG bytes into a new RGB565 surface without a colour key; null on failure.
SurfacePtr LoadPng(const std::vector<uint8_t>& bytes);
// Bytes of a PNG that PngSize needs: the signature and the header chunk.
constexpr size_t kPngHeaderBytes = 33;
// Width and height from the header of a PNG that LoadPng would accept the size of; false for
// anything else. Nothing is decoded.
bool PngSize(const std::vector<uint8_t>& header, int32_t& width, int32_t& height);
// Writes a surface as a PNG file (snapshots, contact sheets).
bool SavePng(const Surface& surface, const std::string& path);

}  // namespace platform
