#pragma once
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace platform {

// Shrinks an RGB565 picture into a smaller 32-bit viewport by averaging: each destination pixel
// is the mean of the source area it covers. A one-pixel stroke of a character stays there,
// paler, where picking the nearest pixel would drop every few rows and columns and with them
// strokes (a 640x480 screen drops every fifth).
class BoxFilter {
public:
    // Channels go to 8-bit places at these shifts; `opaque` is or-ed into every pixel.
    BoxFilter(int32_t srcWidth, int32_t srcHeight, const Rect& viewport, int32_t redShift, int32_t greenShift,
              int32_t blueShift, uint32_t opaque);

    // The destination pixels whose area meets the source rectangle `src`.
    Rect DestRect(const Rect& src) const;
    // Draws the destination pixels of DestRect(src) from the whole source.
    void Copy(const Surface& source, const Rect& src, uint32_t* dst, int32_t pitchPixels) const;

private:
    // The source pixels one destination pixel covers along one axis: `count` of them from
    // `first`, their shares (out of 256) in weights_ from `weight`.
    struct Span {
        int32_t first = 0;
        int32_t count = 0;
        size_t weight = 0;
    };
    static std::vector<Span> Spans(int32_t src, int32_t view, std::vector<uint16_t>& weights);
    static int32_t FirstMeeting(int32_t s, int32_t src, int32_t view);
    static int32_t EndMeeting(int32_t s, int32_t src, int32_t view);
    // Source row `row` averaged across, for destination columns x0..x0+n-1: three planes (red,
    // green, blue) of n values out of 256 times the channel. Kept for the rows below it.
    const uint16_t* Across(const Surface& source, int32_t row, int32_t x0, size_t n) const;

    int32_t srcWidth_;
    int32_t srcHeight_;
    Rect viewport_;
    int32_t redShift_;
    int32_t greenShift_;
    int32_t blueShift_;
    uint32_t opaque_;
    std::vector<uint16_t> weights_;
    std::vector<Span> columns_;
    std::vector<Span> rows_;
    // A few source rows averaged across, and which rows they are (-1: none); reused for every
    // copy, so a frame allocates nothing once the first has been drawn.
    static constexpr size_t kKeptRows = 4;
    mutable std::vector<uint16_t> across_;
    mutable int32_t keptRow_[kKeptRows] = {-1, -1, -1, -1};
    mutable std::vector<uint32_t> sum_;
    mutable std::vector<uint16_t> channels_;  // one source row's red, green and blue
};

}  // namespace platform
