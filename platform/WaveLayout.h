#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// What the chunks of a RIFF WAVE file say about its sound, read before the bytes are decoded, so
// a damaged or hostile sound cannot make the decoder allocate more than the file or the game
// allows.
struct WaveLayout {
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bitsPerSample = 0;
    uint32_t dataBytes = 0;

    // The layout of a RIFF WAVE file whose chunks, up to the first data chunk, lie wholly within
    // `bytes`, with a format chunk before that data chunk; nothing for anything else.
    static std::optional<WaveLayout> Read(const std::vector<uint8_t>& bytes);

    // About how many bytes the sound takes once converted to `rate` Hz, `channels` channels of
    // `bytesPerSample` bytes (an upper bound for the formats the decoder knows).
    uint64_t ConvertedBytes(uint32_t outRate, uint32_t outChannels, uint32_t outBytesPerSample) const;
};

}  // namespace platform
