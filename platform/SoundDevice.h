#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class SoundBuffer;

// The sound output (SDL_mixer). Every buffer plays on a fixed channel of its own, so buffers
// never take each other's channel. Only one device exists at a time.
class SoundDevice {
public:
    static constexpr int kChannels = 16;

    // Null when the audio output cannot be opened.
    static std::unique_ptr<SoundDevice> Open();
    // Stops every channel and closes the output. Buffers must be released first.
    ~SoundDevice();

    // A buffer of the WAV bytes on `channel` (0..kChannels-1); null when the bytes are not a
    // RIFF WAVE sound the mixer can decode or the channel is out of range.
    std::unique_ptr<SoundBuffer> CreateBuffer(const std::vector<uint8_t>& wav, int channel);

    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

private:
    SoundDevice() = default;
};

}  // namespace platform
