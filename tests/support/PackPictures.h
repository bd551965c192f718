#pragma once
// Pictures of the staged pack, for tests that play the real program: button centres to click
// and pictures to compare snapshots with.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"

namespace testsupport {

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
