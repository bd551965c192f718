#pragma once
// The sound output of the fuzz targets that decode sounds: the dummy audio driver, opened once.

#include <cstdint>
#include <vector>

namespace fuzzing {

void OpenSoundOutput();

// Makes a sound buffer of the WAV bytes as the sound engine does and releases it again.
void DecodeSound(const std::vector<uint8_t>& wav);

}  // namespace fuzzing
