#pragma once
#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int SampleRate = 22050;

// A mono 16-bit PCM WAV file at SampleRate.
std::vector<unsigned char> encodeWav(const std::vector<int16_t>& samples);

}  // namespace assetgen
