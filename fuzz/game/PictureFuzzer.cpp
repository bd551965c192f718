// A picture's bytes as the graphic engine decodes them after reading them from the pack: a
// picture that decodes is a surface of a size the game allows, every pixel of it readable.

#include <cstdlib>
#include <vector>

#include "platform/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const auto picture = platform::LoadPng(bytes);
    if (!picture) return 0;
    if (picture->Width() < 1 || picture->Height() < 1 || picture->Width() > platform::Surface::kMaxSide ||
        picture->Height() > platform::Surface::kMaxSide) {
        std::abort();
    }
    volatile uint32_t sum = 0;
    for (int32_t y = 0; y < picture->Height(); y += 7) {
        for (int32_t x = 0; x < picture->Width(); x += 7) sum = sum + picture->ReadPixel(x, y);
    }
    return 0;
}
