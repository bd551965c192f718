#include "platform/ScaledCopy.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// First viewport position whose source position is at least `s`.
int32_t FirstAtOrAfter(int32_t s, int32_t view, int32_t src) {
    return static_cast<int32_t>((static_cast<int64_t>(s) * view + src - 1) / src);
}

}  // namespace

ScaledCopy::ScaledCopy(int32_t srcWidth, int32_t srcHeight, const Rect& viewport, const Format& format)
    : srcWidth_(srcWidth), srcHeight_(srcHeight), viewport_(viewport) {
    column_.resize(static_cast<size_t>(std::max(0, viewport.Width())));
    for (size_t x = 0; x < column_.size(); ++x)
        column_[x] = static_cast<int32_t>(static_cast<int64_t>(x) * srcWidth / viewport.Width());
    row_.resize(static_cast<size_t>(std::max(0, viewport.Height())));
    for (size_t y = 0; y < row_.size(); ++y)
        row_[y] = static_cast<int32_t>(static_cast<int64_t>(y) * srcHeight / viewport.Height());
    // RGB565 splits green over both bytes; each byte's share of the widened channels adds up
    // without carries, so two small tables convert a pixel.
    for (uint32_t v = 0; v < 256; ++v) {
        const uint32_t r5 = v >> 3;
        const uint32_t gHigh = v & 7;  // green bits 5..3
        const uint32_t red = (r5 << 3) | (r5 >> 2);
        const uint32_t greenHigh = (gHigh << 5) | (gHigh >> 1);
        high_[v] = (red << format.redShift) | (greenHigh << format.greenShift) | format.opaque;
        const uint32_t gLow = v >> 5;  // green bits 2..0
        const uint32_t b5 = v & 31;
        const uint32_t blue = (b5 << 3) | (b5 >> 2);
        low_[v] = ((gLow << 2) << format.greenShift) | (blue << format.blueShift);
    }
}

Rect ScaledCopy::Letterbox(int32_t srcWidth, int32_t srcHeight, int32_t width, int32_t height) {
    int32_t w = width;
    int32_t h = static_cast<int32_t>(static_cast<int64_t>(width) * srcHeight / srcWidth);
    if (h > height) {
        h = height;
        w = static_cast<int32_t>(static_cast<int64_t>(height) * srcWidth / srcHeight);
    }
    const int32_t x = (width - w) / 2;
    const int32_t y = (height - h) / 2;
    return Rect{x, y, x + w, y + h};
}

Rect ScaledCopy::DestRect(const Rect& src) const {
    const int32_t vw = viewport_.Width();
    const int32_t vh = viewport_.Height();
    return Rect{viewport_.left + FirstAtOrAfter(src.left, vw, srcWidth_),
                viewport_.top + FirstAtOrAfter(src.top, vh, srcHeight_),
                viewport_.left + FirstAtOrAfter(src.right, vw, srcWidth_),
                viewport_.top + FirstAtOrAfter(src.bottom, vh, srcHeight_)};
}

void ScaledCopy::Copy(const Surface& source, const Rect& src, uint32_t* dst, int32_t pitchPixels) const {
    const Rect out = DestRect(src);
    const int32_t x0 = out.left - viewport_.left;
    const int32_t x1 = out.right - viewport_.left;
    const bool oneToOne = viewport_.Width() == srcWidth_;
    const uint32_t* previous = nullptr;
    int32_t previousRow = -1;
    for (int32_t y = out.top; y < out.bottom; ++y) {
        const int32_t sy = row_[static_cast<size_t>(y - viewport_.top)];
        uint32_t* to = dst + static_cast<size_t>(y) * pitchPixels + out.left;
        if (sy == previousRow) {
            // A doubled row: the line above already holds it.
            std::memcpy(to, previous, static_cast<size_t>(x1 - x0) * 4);
            continue;
        }
        const uint16_t* from = source.Pixels() + static_cast<size_t>(sy) * source.PitchPixels();
        if (oneToOne) {
            for (int32_t x = x0; x < x1; ++x) to[x - x0] = Convert(from[x]);
        } else {
            const int32_t* column = column_.data();
            for (int32_t x = x0; x < x1; ++x) to[x - x0] = Convert(from[column[x]]);
        }
        previous = to;
        previousRow = sy;
    }
}

}  // namespace platform
