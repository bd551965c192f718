#pragma once
#include <array>
#include <string>

#include "platform/Surface.h"

// Every picture of the police game: the current screen's background, the typing panel, the
// progress markers, the lobby's latency bar and the 32 sprite strips.
class PolicePictures {
public:
    static constexpr int kStrips = 32;

    // (Re)loads every picture, the background under `backgroundName`. The typing panel and the
    // strips get black as their colour key.
    void LoadAll(const std::string& backgroundName);
    void LoadBackground(const std::string& backgroundName);

    // "POLICE_" + role + "_" + pose + "_" + heading for strip index role + pose*2 + heading*8.
    static std::string StripName(int index);

    platform::SurfacePtr Background;
    platform::SurfacePtr Input;
    platform::SurfacePtr Blue;
    platform::SurfacePtr Yellow;
    platform::SurfacePtr Ping;
    platform::SurfacePtr PingBg;
    std::array<platform::SurfacePtr, kStrips> Strips;
};
