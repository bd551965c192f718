#include "platform/BoxFilter.h"

#include <algorithm>

namespace platform {

BoxFilter::BoxFilter(int32_t srcWidth, int32_t srcHeight, const Rect& viewport, int32_t redShift, int32_t greenShift,
                     int32_t blueShift, uint32_t opaque)
    : srcWidth_(srcWidth),
      srcHeight_(srcHeight),
      viewport_(viewport),
      redShift_(redShift),
      greenShift_(greenShift),
      blueShift_(blueShift),
      opaque_(opaque) {
    columns_ = Spans(srcWidth, viewport.Width(), weights_);
    rows_ = Spans(srcHeight, viewport.Height(), weights_);
    channels_.assign(static_cast<size_t>(std::max(0, srcWidth)) * 3, 0);
}

// Destination pixel d covers source [d * src / view, (d + 1) * src / view); counted in units of
// 1 / view source pixel, source pixel s covers [s * view, (s + 1) * view). The shares are the
// steps between the rounded running sums of the overlaps (out of 256 for the whole), so none is
// negative however many pixels a span holds, they add up to exactly 256, and a plain area keeps
// its colour exactly.
std::vector<BoxFilter::Span> BoxFilter::Spans(int32_t src, int32_t view, std::vector<uint16_t>& weights) {
    std::vector<Span> spans(static_cast<size_t>(std::max(0, view)));
    for (int32_t d = 0; d < view; ++d) {
        const int64_t from = static_cast<int64_t>(d) * src;
        const int64_t to = from + src;
        Span& span = spans[static_cast<size_t>(d)];
        span.first = static_cast<int32_t>(from / view);
        const auto last = static_cast<int32_t>((to - 1) / view);
        span.count = last - span.first + 1;
        span.weight = weights.size();
        int64_t covered = 0;
        int64_t given = 0;
        for (int32_t s = span.first; s <= last; ++s) {
            covered += std::min(to, static_cast<int64_t>(s + 1) * view) - std::max(from, int64_t{s} * view);
            const int64_t due = (covered * 256 + src / 2) / src;
            weights.push_back(static_cast<uint16_t>(due - given));
            given = due;
        }
    }
    return spans;
}

int32_t BoxFilter::FirstMeeting(int32_t s, int32_t src, int32_t view) {
    return static_cast<int32_t>(static_cast<int64_t>(s) * view / src);
}

int32_t BoxFilter::EndMeeting(int32_t s, int32_t src, int32_t view) {
    return static_cast<int32_t>((static_cast<int64_t>(s) * view + src - 1) / src);
}

Rect BoxFilter::DestRect(const Rect& src) const {
    const int32_t vw = viewport_.Width();
    const int32_t vh = viewport_.Height();
    return Rect{viewport_.left + FirstMeeting(src.left, srcWidth_, vw),
                viewport_.top + FirstMeeting(src.top, srcHeight_, vh),
                viewport_.left + std::min(vw, EndMeeting(src.right, srcWidth_, vw)),
                viewport_.top + std::min(vh, EndMeeting(src.bottom, srcHeight_, vh))};
}

const uint16_t* BoxFilter::Across(const Surface& source, int32_t row, int32_t x0, size_t n) const {
    const size_t slot = static_cast<size_t>(row) % kKeptRows;
    uint16_t* planes = across_.data() + slot * 3 * n;
    if (keptRow_[slot] == row) return planes;
    keptRow_[slot] = row;
    // Red, green and blue of the whole row, each widened to 8 bits once.
    const auto width = static_cast<size_t>(srcWidth_);
    uint16_t* red = channels_.data();
    uint16_t* green = red + width;
    uint16_t* blue = green + width;
    const uint16_t* pixels = source.Pixels() + static_cast<size_t>(row) * source.PitchPixels();
    for (size_t s = 0; s < width; ++s) {
        const uint32_t r5 = pixels[s] >> 11;
        const uint32_t g6 = (pixels[s] >> 5) & 63;
        const uint32_t b5 = pixels[s] & 31;
        red[s] = static_cast<uint16_t>((r5 << 3) | (r5 >> 2));
        green[s] = static_cast<uint16_t>((g6 << 2) | (g6 >> 4));
        blue[s] = static_cast<uint16_t>((b5 << 3) | (b5 >> 2));
    }
    for (size_t x = 0; x < n; ++x) {
        const Span& span = columns_[static_cast<size_t>(x0) + x];
        uint32_t r = 0;
        uint32_t g = 0;
        uint32_t b = 0;
        for (int32_t i = 0; i < span.count; ++i) {
            const uint32_t w = weights_[span.weight + static_cast<size_t>(i)];
            const auto at = static_cast<size_t>(span.first + i);
            r += w * red[at];
            g += w * green[at];
            b += w * blue[at];
        }
        planes[x] = static_cast<uint16_t>(r);
        planes[n + x] = static_cast<uint16_t>(g);
        planes[2 * n + x] = static_cast<uint16_t>(b);
    }
    return planes;
}

// Each source row is averaged across once and kept while the destination rows below need it;
// then each destination row sums the rows it covers, by their shares.
void BoxFilter::Copy(const Surface& source, const Rect& src, uint32_t* dst, int32_t pitchPixels) const {
    const Rect out = DestRect(src);
    if (out.Width() <= 0 || out.Height() <= 0) return;
    const int32_t x0 = out.left - viewport_.left;
    const auto n = static_cast<size_t>(out.Width());
    across_.resize(kKeptRows * 3 * n);
    std::fill(std::begin(keptRow_), std::end(keptRow_), -1);
    sum_.resize(3 * n);
    constexpr uint32_t kHalf = 1u << 15;
    for (int32_t y = out.top; y < out.bottom; ++y) {
        const Span& down = rows_[static_cast<size_t>(y - viewport_.top)];
        const uint16_t* first = Across(source, down.first, x0, n);
        const uint32_t w0 = weights_[down.weight];
        for (size_t k = 0; k < 3 * n; ++k) sum_[k] = w0 * first[k];
        for (int32_t j = 1; j < down.count; ++j) {
            const uint16_t* planes = Across(source, down.first + j, x0, n);
            const uint32_t w = weights_[down.weight + static_cast<size_t>(j)];
            for (size_t k = 0; k < 3 * n; ++k) sum_[k] += w * planes[k];
        }
        uint32_t* to = dst + static_cast<size_t>(y) * pitchPixels + out.left;
        for (size_t x = 0; x < n; ++x) {
            to[x] = (((sum_[x] + kHalf) >> 16) << redShift_) | (((sum_[n + x] + kHalf) >> 16) << greenShift_) |
                    (((sum_[2 * n + x] + kHalf) >> 16) << blueShift_) | opaque_;
        }
    }
}

}  // namespace platform
