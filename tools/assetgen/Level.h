#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

class Track;

// Loudness targets of the sound pack, as gated RMS in dB below full scale. Game effects share
// one level; the interface and key sounds sit well below it, and the background loops lie
// 6 to 10 dB under the effects so the effects are heard over the music. No sample goes above
// the ceiling.
inline constexpr double EffectLevelDb = -15.0;
inline constexpr double QuietLevelDb = -20.0;
inline constexpr double LoopLevelDb = -24.0;
inline constexpr double CeilingDb = -1.0;

// The level a listener hears while the sound plays: the mean power of the 50 ms blocks (half
// overlapping) that lie no more than 10 dB under the mean of all blocks, in dB of full scale.
// The gate leaves out the silent tail of a decaying sound.
double gatedLevelDb(const std::vector<int16_t>& samples);

// 16-bit samples of the track scaled to `targetDb`, or as near to it as the ceiling allows.
std::vector<int16_t> levelled(const Track& track, double targetDb);

// Turns a wrapped track so that it starts at a rising zero crossing where the 50 ms before and
// after the loop point are equally loud and not quieter than the music around them: played
// in a loop, the end then runs into the start like any other moment of the tune. The point
// nearest to the track's first downbeat is taken, a lead-in before it first.
void turnToLoopPoint(Track& track);

}  // namespace assetgen
