#include "platform/PictureLoader.h"

#include <SDL.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

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

// Plain 8-bit RGB without transparency, colour management or interlacing: every picture of the
// packs. Such a picture is decoded row by row straight into RGB565, with no 24-bit copy of the
// whole picture in between (the 1600x1200 race map would need 5.8 MB of it).
bool PlainRgb(const std::vector<uint8_t>& bytes) {
    if (bytes[24] != 8 || bytes[25] != 2 || bytes[28] != 0) return false;
    size_t at = sizeof kPngSignature;
    while (bytes.size() - at >= 12) {
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) return false;
        const auto* type = reinterpret_cast<const char*>(&bytes[at + 4]);
        if (std::memcmp(type, "IDAT", 4) == 0) return true;
        if (std::memcmp(type, "IEND", 4) == 0) return false;
        for (const char* other : {"tRNS", "gAMA", "iCCP", "sRGB", "cHRM", "sBIT"}) {
            if (std::memcmp(type, other, 4) == 0) return false;
        }
        at += 12 + size_t{length};
    }
    return false;
}

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->at) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->at, count);
    reader->at += count;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Where a decoded picture goes: a plain 8-bit RGB picture row by row into RGB565 `pixels`
// (`pitch` pixels a row) through `row` (3 x width bytes); with `rows` set instead, any picture
// the decoder reads (palette, grey, 16-bit, transparency, interlacing) as 8-bit RGBA rows
// (4 x width bytes each).
struct DecodeTarget {
    uint16_t* pixels = nullptr;
    int32_t pitch = 0;
    uint8_t* row = nullptr;
    png_bytep* rows = nullptr;
};

// Only plain values live here: the decoder's errors jump back to setjmp.
bool DecodeRows(MemoryReader* reader, const DecodeTarget& to, uint32_t width, uint32_t height) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, &IgnoreWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, reader, &ReadFromMemory);
    png_read_info(png, info);
    const bool any = to.rows != nullptr;
    if (any) {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
    }
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height ||
        png_get_rowbytes(png, info) != size_t{width} * (any ? 4 : 3)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    if (any) {
        png_read_image(png, to.rows);
        png_destroy_read_struct(&png, &info, nullptr);
        return true;
    }
    for (uint32_t y = 0; y < height; ++y) {
        png_read_row(png, to.row, nullptr);
        uint16_t* line = to.pixels + static_cast<size_t>(y) * static_cast<size_t>(to.pitch);
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = to.row + size_t{x} * 3;
            line[x] = static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

SurfacePtr LoadPlainRgb(const std::vector<uint8_t>& bytes) {
    const uint32_t width = BigEndian32(&bytes[16]);
    const uint32_t height = BigEndian32(&bytes[20]);
    auto out = Surface::Create(static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (out == nullptr) return nullptr;
    std::vector<uint8_t> row(size_t{width} * 3);
    MemoryReader reader{bytes.data(), bytes.size(), 0};
    DecodeTarget to;
    to.pixels = out->Pixels();
    to.pitch = out->PitchPixels();
    to.row = row.data();
    if (!DecodeRows(&reader, to, width, height)) return nullptr;
    return out;
}

// Any other picture, through the surface conversion, which blends pixels that are not fully
// opaque over black. Such pictures come only from outside the packs, so the whole 32-bit picture
// in between costs nothing there.
SurfacePtr LoadAnyPng(const std::vector<uint8_t>& bytes) {
    const uint32_t width = BigEndian32(&bytes[16]);
    const uint32_t height = BigEndian32(&bytes[20]);
    SDL_Surface* rgba = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(width), static_cast<int>(height), 32,
                                                       SDL_PIXELFORMAT_RGBA32);
    if (rgba == nullptr) return nullptr;
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y) rows[y] = static_cast<png_bytep>(rgba->pixels) + size_t{y} * rgba->pitch;
    MemoryReader reader{bytes.data(), bytes.size(), 0};
    DecodeTarget to;
    to.rows = rows.data();
    if (!DecodeRows(&reader, to, width, height)) {
        SDL_FreeSurface(rgba);
        return nullptr;
    }
    return Surface::Adopt(rgba);
}

// Writes RGB565 pixels widened to 8-bit RGB (the top bits repeated below, so white stays white
// and a picture read back decodes to the same pixels). Only plain values live here: the
// encoder's errors jump back to setjmp.
bool EncodeRows(std::FILE* file, const Surface& surface, std::vector<uint8_t>* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, &IgnoreWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < surface.Height(); ++y) {
        const uint16_t* from = surface.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(surface.PitchPixels());
        for (int32_t x = 0; x < surface.Width(); ++x) {
            uint8_t* p = row->data() + static_cast<size_t>(x) * 3;
            const unsigned r = from[x] >> 11;
            const unsigned g = (from[x] >> 5) & 0x3F;
            const unsigned b = from[x] & 0x1F;
            p[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
            p[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
            p[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
        }
        png_write_row(png, row->data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

SurfacePtr LoadPng(const std::vector<uint8_t>& bytes) {
    if (!WholePng(bytes)) return nullptr;
    return PlainRgb(bytes) ? LoadPlainRgb(bytes) : LoadAnyPng(bytes);
}

bool PngSize(const std::vector<uint8_t>& header, int32_t& width, int32_t& height) {
    if (!PlausiblePng(header)) return false;
    width = static_cast<int32_t>(BigEndian32(&header[16]));
    height = static_cast<int32_t>(BigEndian32(&header[20]));
    return true;
}

bool SavePng(const Surface& surface, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::vector<uint8_t> row(static_cast<size_t>(surface.Width()) * 3);
    const bool encoded = EncodeRows(file, surface, &row);
    const bool closed = std::fclose(file) == 0;
    if (encoded && closed) return true;
    std::remove(path.c_str());
    return false;
}

}  // namespace platform
