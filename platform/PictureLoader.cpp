#include "platform/PictureLoader.h"

#include <SDL.h>
#include <SDL_image.h>

namespace platform {
namespace {

// Pictures are at most this many pixels (the largest art is a 1600x1200 map).
constexpr uint64_t kMaxPixels = uint64_t{1} << 24;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// The signature and the size in the header chunk, checked before anything is decoded so a
// damaged or hostile picture cannot ask for a huge surface.
bool PlausiblePng(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kPngHeaderBytes || bytes.size() > (uint64_t{1} << 30)) return false;
    for (size_t i = 0; i < sizeof kPngSignature; ++i) {
        if (bytes[i] != kPngSignature[i]) return false;
    }
    if (BigEndian32(&bytes[8]) != 13 || bytes[12] != 'I' || bytes[13] != 'H' || bytes[14] != 'D' || bytes[15] != 'R') {
        return false;
    }
    const uint32_t width = BigEndian32(&bytes[16]);
    const uint32_t height = BigEndian32(&bytes[20]);
    if (width < 1 || height < 1 || width > static_cast<uint32_t>(Surface::kMaxSide) ||
        height > static_cast<uint32_t>(Surface::kMaxSide) || uint64_t{width} * height > kMaxPixels) {
        return false;
    }
    return true;
}

// Every chunk (length, type, data, check value) of a plausible picture lies within the bytes up
// to the end chunk: the decoder would otherwise skip a chunk that claims a gigabyte by reading
// past the end, a gigabyte of nothing.
bool WholePng(const std::vector<uint8_t>& bytes) {
    if (!PlausiblePng(bytes)) return false;
    size_t at = sizeof kPngSignature;
    while (bytes.size() - at >= 12) {
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) return false;
        const bool end = bytes[at + 4] == 'I' && bytes[at + 5] == 'E' && bytes[at + 6] == 'N' && bytes[at + 7] == 'D';
        if (end) return true;
        at += 12 + size_t{length};
    }
    return false;
}

void InitImage() {
    static const bool done = (IMG_Init(IMG_INIT_PNG), true);
    (void)done;
}

}  // namespace

SurfacePtr LoadPng(const std::vector<uint8_t>& bytes) {
    if (!WholePng(bytes)) return nullptr;
    InitImage();
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) return nullptr;
    SDL_Surface* decoded = IMG_LoadTyped_RW(rw, 1, "PNG");
    return Surface::Adopt(decoded);
}

bool PngSize(const std::vector<uint8_t>& header, int32_t& width, int32_t& height) {
    if (!PlausiblePng(header)) return false;
    width = static_cast<int32_t>(BigEndian32(&header[16]));
    height = static_cast<int32_t>(BigEndian32(&header[20]));
    return true;
}

bool SavePng(const Surface& surface, const std::string& path) {
    InitImage();
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(surface.Sdl(), SDL_PIXELFORMAT_RGB24, 0);
    if (rgb == nullptr) return false;
    const bool ok = IMG_SavePNG(rgb, path.c_str()) == 0;
    SDL_FreeSurface(rgb);
    return ok;
}

}  // namespace platform
