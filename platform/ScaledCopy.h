#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/BoxFilter.h"
#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace platform {

// Copies an RGB565 screen onto a 32-bit window buffer, scaled into a viewport (the letterboxed
// picture area) and converted on the way. A viewport at least as large as the source is drawn
// by the nearest pixel: destination pixel (x, y) of the viewport shows source pixel
// (x * srcWidth / viewWidth, y * srcHeight / viewHeight). A smaller one averages the source
// area of each pixel (BoxFilter), so thin strokes of text stay.
class ScaledCopy {
public:
    // The destination keeps 8-bit channels at these bit shifts; `opaque` is or-ed into every
    // pixel (the alpha bits, or 0).
    struct Format {
        int32_t redShift = 16;
        int32_t greenShift = 8;
        int32_t blueShift = 0;
        uint32_t opaque = 0;
    };

    ScaledCopy(int32_t srcWidth, int32_t srcHeight, const Rect& viewport, const Format& format);

    // The centred viewport of the largest picture of the source's proportions that fits
    // `width` x `height`.
    static Rect Letterbox(int32_t srcWidth, int32_t srcHeight, int32_t width, int32_t height);

    // Whether copies made from now on may use eight-lane vectors where the processor has them
    // (on by default); tests turn it off to check the four-lane path too.
    static void AllowEightLanes(bool allow);

    // The destination pixels whose source pixel lies in `src`.
    Rect DestRect(const Rect& src) const;
    // Draws the source pixels of `src` (and only those) into a buffer of `pitchPixels` per row.
    void Copy(const Surface& source, const Rect& src, uint32_t* dst, int32_t pitchPixels) const;
    // One converted pixel.
    uint32_t Convert(uint16_t raw) const { return high_[raw >> 8] | low_[raw & 0xFF]; }
    // Converts `count` pixels of one row, unscaled.
    void ConvertRow(const uint16_t* from, uint32_t* to, int32_t count) const;

private:
    // Widens the converted source pixels of one row into viewport columns x0..x1-1 at `to`.
    void Widen(const uint32_t* converted, int32_t x0, int32_t x1, uint32_t* to) const;
    // The same straight from the RGB565 source row `from`, converting on the way (eightLanes_).
    void WidenFromRgb565(const uint16_t* from, int32_t x0, int32_t x1, uint32_t* to) const;

    int32_t srcWidth_;
    int32_t srcHeight_;
    Rect viewport_;
    std::vector<int32_t> column_;  // source column of each viewport column
    std::vector<int32_t> row_;     // source row of each viewport row
    // Where no source pixel is shown more than twice, viewport columns 4g..4g+3 come from the
    // four source pixels from column_[4g] on: bytes 16g..16g+15 are the byte shuffle that picks
    // them. Empty otherwise, or where the processor has no byte shuffle.
    std::vector<uint8_t> groupMasks_;
    // With eight-lane vectors (AVX2) and an XRGB destination, instead: groups of eight viewport
    // columns from phase_ on; column x of the group starting at g shows source pixel
    // column_[g] + eightLanes_[x]. The row is converted and widened in one pass.
    std::vector<int32_t> eightLanes_;
    int32_t phase_ = 0;  // the first column of the first group
    std::array<uint32_t, 256> high_{};
    std::array<uint32_t, 256> low_{};
    // Red, green and blue in bytes 2, 1 and 0 (the usual 32-bit framebuffer): rows convert
    // eight pixels at a time in vector registers instead of through the tables.
    bool xrgb_ = false;
    uint16_t alphaHigh_ = 0;  // the alpha byte of `opaque`, in the high half of a 16-bit lane
    // One converted source row and three pixels to spare (a group reads four source pixels
    // from its first one), reused for scaled copies (no allocation per frame).
    mutable std::vector<uint32_t> rowBuffer_;
    std::unique_ptr<BoxFilter> shrink_;  // for a viewport smaller than the source
};

}  // namespace platform
