#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Geometry.h"

struct SDL_Surface;

namespace platform {

// An RGB565 picture or screen buffer. Copies never read or write outside either surface,
// whatever rectangle a caller passes: rectangles are clipped to both surfaces and an empty
// or inverted rectangle copies nothing. Copies, fills and boxes return false for an empty or
// inverted rectangle (the request itself is invalid) and true otherwise, also when clipping
// leaves nothing to draw.
class Surface {
public:
    // Largest width or height a surface may have.
    static constexpr int32_t kMaxSide = 16384;

    // A new surface of the given size, filled with 0; null for a size outside 1..kMaxSide.
    static std::shared_ptr<Surface> Create(int32_t width, int32_t height);
    // Takes ownership of an SDL surface, converting it to RGB565 (no colour key). Each channel
    // is truncated (r>>3, g>>2, b>>3); pixels that are not fully opaque are first blended over
    // black. Null for a null surface.
    static std::shared_ptr<Surface> Adopt(SDL_Surface* surface);
    // A picture whose pixels are produced when they are first needed (drawn, copied, read):
    // its size is known at once, `decode` gives a surface of that size. When decoding fails
    // or gives another size, the picture stays black (the decoder reports the failure).
    using Decoder = std::function<std::shared_ptr<Surface>()>;
    static std::shared_ptr<Surface> CreateDeferred(int32_t width, int32_t height, Decoder decode);
    // False while a deferred picture has not been decoded yet.
    bool Decoded() const { return surface_ != nullptr; }
    // Gives a deferred picture the pixels of `decoded`, a surface of the same size, ahead of its
    // first use; its decoder is then never run. False (and nothing changes) when the picture has
    // its pixels already or the sizes differ.
    bool Supply(const std::shared_ptr<Surface>& decoded) const;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const;
    int32_t Height() const;

    // Fast copy of `src` (all-zero rectangle = whole source) to (x, y), no stretching.
    // keyed: pixels equal to the source's colour key are skipped (a source without a key is
    // copied whole); opaque copies every pixel, even when the source has a key set.
    bool CopyFast(int32_t x, int32_t y, const Surface& src, const Rect& srcRect, bool keyed);
    // Copy with stretching from srcRect to dstRect (all-zero = whole surface), nearest pixel.
    // Destination pixels whose source pixel lies outside the source surface are left alone.
    bool CopyStretched(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed);
    // Fill with a raw pixel value (the low 16 bits are used). All-zero rectangle = whole surface.
    bool Fill(const Rect& rect, uint32_t raw);
    // One-pixel outline of the box with corners (x1, y1) and (x2, y2), colour 0x00BBGGRR; like a
    // filled rectangle, the box covers columns x1..x2-1 and rows y1..y2-1.
    bool DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colorBgr);

    // Source colour key used by keyed copies (raw RGB565 value).
    void SetColorKey(uint16_t key);
    void ClearColorKey();
    bool HasColorKey() const;
    uint16_t ColorKey() const { return key_; }

    // Raw pixel under lock; 0 outside the surface.
    uint16_t ReadPixel(int32_t x, int32_t y) const;

    // Direct pixel access for the platform layer (presentation, snapshots, text).
    const uint16_t* Pixels() const;
    uint16_t* Pixels();
    int32_t PitchPixels() const;  // pixels per row
    SDL_Surface* Sdl() const;

    // Converts 0x00BBGGRR to the raw RGB565 value (truncating each channel).
    static uint16_t RawFromBgr(uint32_t colorBgr);

    // A new surface with the same pixels (no colour key).
    std::shared_ptr<Surface> Clone() const;
    // Trades pixels with `other`, a surface of the same size, without copying them. False (and
    // nothing changes) when the sizes differ, either has a colour key or is still deferred.
    bool ExchangePixels(Surface& other);

private:
    explicit Surface(SDL_Surface* s);
    Surface(int32_t width, int32_t height, Decoder decode);
    // Decodes a deferred picture on first use; a no-op afterwards.
    void Realize() const;
    // Fills the part of [left, right) x [top, bottom) that lies on the surface.
    void FillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom, uint16_t raw);

    mutable SDL_Surface* surface_;
    mutable Decoder decode_;
    int32_t width_;
    int32_t height_;
    uint16_t key_ = 0;
    bool hasKey_ = false;
};

using SurfacePtr = std::shared_ptr<Surface>;

}  // namespace platform
