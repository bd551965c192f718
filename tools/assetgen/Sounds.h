#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Sound {
    std::string name;
    std::vector<int16_t> samples;  // mono, SampleRate
    bool loop;
};

std::vector<Sound> makeEffects();  // short clicks and effects
std::vector<Sound> makeLoops();    // background music that loops seamlessly

inline std::vector<Sound> makeAllSounds() {
    std::vector<Sound> all = makeEffects();
    for (auto& s : makeLoops()) all.push_back(std::move(s));
    return all;
}

}  // namespace assetgen
