#pragma once
// Pictures of the staged pack, for tests that play the real program: button centres to click
// and pictures to compare snapshots with.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"

namespace testsupport {

// A PNG file on disk (a snapshot), decoded; null when it is missing or empty.
inline platform::SurfacePtr LoadPngFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.empty() ? nullptr : platform::LoadPng(bytes);
}

inline platform::SurfacePtr PackPicture(const std::string& name) {
    static const auto pack = platform::ResourcePack::Open(std::string(GLYPHOR_DIST_DIR) + "/Game/GameRes.DLL");
    std::vector<uint8_t> bytes;
    if (!pack || !pack->Read(name + ".png", bytes)) return nullptr;
    return platform::LoadPng(bytes);
}

// "X Y" of the centre of frame 0 of a strip of `frames` frames placed at (left, top).
inline std::string Centre(const std::string& picture, int frames, int left, int top) {
    const auto strip = PackPicture(picture);
    const int w = strip ? strip->Width() / frames : 20;
    const int h = strip ? strip->Height() : 20;
    return std::to_string(left + w / 2) + " " + std::to_string(top + h / 2);
}

}  // namespace testsupport
