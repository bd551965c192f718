#include "platform/WaveLayout.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool Is(const uint8_t* p, const char* fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

}  // namespace

std::optional<WaveLayout> WaveLayout::Read(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || !Is(bytes.data(), "RIFF") || !Is(bytes.data() + 8, "WAVE")) return std::nullopt;
    std::optional<WaveLayout> layout;
    size_t at = 12;
    while (bytes.size() - at >= 8) {
        const uint8_t* header = bytes.data() + at;
        const uint32_t length = Le32(header + 4);
        at += 8;
        if (length > bytes.size() - at) return std::nullopt;  // a chunk cut by the end of the file
        const uint8_t* body = bytes.data() + at;
        if (Is(header, "fmt ") && !layout) {
            if (length < 16) return std::nullopt;
            layout = WaveLayout{Le16(body + 2), Le32(body + 4), Le16(body + 14), 0};
            if (layout->channels == 0 || layout->rate == 0 || layout->bitsPerSample < 4) return std::nullopt;
        } else if (Is(header, "data")) {
            if (!layout) return std::nullopt;
            layout->dataBytes = length;
            return layout;
        }
        // Chunks start on even offsets.
        at = std::min(bytes.size(), at + length + (length & 1u));
    }
    return std::nullopt;
}

uint64_t WaveLayout::ConvertedBytes(uint32_t outRate, uint32_t outChannels, uint32_t outBytesPerSample) const {
    if (channels == 0 || rate == 0 || bitsPerSample == 0) return 0;
    // Compressed formats give at most one sample per `bitsPerSample` bits of data.
    const uint64_t frames = (uint64_t{dataBytes} * 8 / bitsPerSample + channels - 1) / channels;
    const uint64_t outFrames = (frames * outRate + rate - 1) / rate;
    return outFrames * outChannels * outBytesPerSample;
}

}  // namespace platform
