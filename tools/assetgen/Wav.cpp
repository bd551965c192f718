#include "Wav.h"

#include <array>
#include <cstddef>

namespace assetgen {

namespace {
constexpr std::size_t kHeaderBytes = 44;

// Writes `x` little-endian at `at`; the header is laid out in a fixed array so the byte
// positions are plain to see.
void put32(std::array<unsigned char, kHeaderBytes>& h, std::size_t at, uint32_t x) {
    for (std::size_t i = 0; i < 4; ++i) h[at + i] = static_cast<unsigned char>(x >> (8 * i));
}
void put16(std::array<unsigned char, kHeaderBytes>& h, std::size_t at, uint16_t x) {
    h[at] = static_cast<unsigned char>(x);
    h[at + 1] = static_cast<unsigned char>(x >> 8);
}
void tag(std::array<unsigned char, kHeaderBytes>& h, std::size_t at, const char (&t)[5]) {
    for (std::size_t i = 0; i < 4; ++i) h[at + i] = static_cast<unsigned char>(t[i]);
}
}  // namespace

std::vector<unsigned char> encodeWav(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::array<unsigned char, kHeaderBytes> h{};
    tag(h, 0, "RIFF");
    put32(h, 4, 36 + dataBytes);
    tag(h, 8, "WAVE");
    tag(h, 12, "fmt ");
    put32(h, 16, 16);
    put16(h, 20, 1);  // PCM
    put16(h, 22, 1);  // mono
    put32(h, 24, SampleRate);
    put32(h, 28, SampleRate * 2);
    put16(h, 32, 2);
    put16(h, 34, 16);
    tag(h, 36, "data");
    put32(h, 40, dataBytes);

    std::vector<unsigned char> v(kHeaderBytes + dataBytes);
    std::size_t at = 0;
    for (unsigned char b : h) v[at++] = b;
    for (int16_t s : samples) {
        const auto u = static_cast<uint16_t>(s);
        v[at++] = static_cast<unsigned char>(u);
        v[at++] = static_cast<unsigned char>(u >> 8);
    }
    return v;
}

}  // namespace assetgen
