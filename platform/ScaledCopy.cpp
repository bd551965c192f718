#include "platform/ScaledCopy.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace platform {
namespace {

bool g_allowEightLanes = true;

// First viewport position whose source position is at least `s`.
int32_t FirstAtOrAfter(int32_t s, int32_t view, int32_t src) {
    return static_cast<int32_t>((static_cast<int64_t>(s) * view + src - 1) / src);
}

#if defined(__SSE2__)
// Four viewport columns at a time: one load of the four source pixels they come from and one
// byte shuffle (SSSE3) whose mask picks each column's pixel. Returns the first column not drawn.
__attribute__((target("ssse3"))) int32_t WidenGroups(const uint32_t* converted, const int32_t* column,
                                                     const uint8_t* masks, int32_t x, int32_t x1, uint32_t* to) {
    for (; x + 4 <= x1; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(converted + column[x]));
        const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks + (x >> 2) * 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_shuffle_epi8(v, mask));
    }
    return x;
}

// Eight RGB565 pixels as 32-bit XRGB, `alpha` (in the high half of each 16-bit lane) or-ed in.
// Each channel widens by repeating its top bits below it, as the tables do: a channel of n bits
// at the top of a 16-bit lane times 2^(16-n) + 1 (then shifted) is exactly that, and one
// unsigned high multiply does both.
inline void ConvertEight(__m128i p, __m128i alpha, __m128i& first, __m128i& second) {
    const __m128i red = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(static_cast<int16_t>(0xF800))),
                                        _mm_set1_epi16(264));  // (v << 11) * 264 >> 16 = v << 3 | v >> 2
    const __m128i green = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(0x07E0)),
                                          _mm_set1_epi16(8320));  // (v << 5) * 8320 >> 16 = v << 2 | v >> 4
    const __m128i blue = _mm_mulhi_epu16(_mm_slli_epi16(p, 11), _mm_set1_epi16(264));
    const __m128i low = _mm_or_si128(blue, _mm_slli_epi16(green, 8));
    const __m128i high = _mm_or_si128(red, alpha);
    first = _mm_unpacklo_epi16(low, high);
    second = _mm_unpackhi_epi16(low, high);
}

// Eight viewport columns at a time, straight from the RGB565 row: the eight source pixels from
// the group's first column are converted, and one lane permutation picks each column's pixel.
// Groups start at `x` and go on in steps of 8; returns the first column not drawn. Stores that
// lie on 32 bytes go past the cache: the display server reads the screen, this program never
// does.
__attribute__((target("avx2"))) int32_t WidenEightsFromRgb565(const uint16_t* from, const int32_t* column,
                                                              const int32_t* lanes, int32_t x, int32_t x1,
                                                              int32_t srcWidth, uint16_t alphaHigh, uint32_t* to) {
    const __m128i alpha = _mm_set1_epi16(static_cast<int16_t>(alphaHigh));
    for (; x + 8 <= x1 && column[x] + 8 <= srcWidth; x += 8) {
        __m128i first;
        __m128i second;
        ConvertEight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + column[x])), alpha, first, second);
        const __m256i lane = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes + x));
        const __m256i pixels = _mm256_permutevar8x32_epi32(_mm256_set_m128i(second, first), lane);
        if ((reinterpret_cast<uintptr_t>(to + x) & 31) == 0) {
            _mm256_stream_si256(reinterpret_cast<__m256i*>(to + x), pixels);
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + x), pixels);
        }
    }
    _mm_sfence();
    return x;
}
#endif

}  // namespace

ScaledCopy::ScaledCopy(int32_t srcWidth, int32_t srcHeight, const Rect& viewport, const Format& format)
    : srcWidth_(srcWidth), srcHeight_(srcHeight), viewport_(viewport) {
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
    xrgb_ =
        format.redShift == 16 && format.greenShift == 8 && format.blueShift == 0 && (format.opaque & 0x00FFFFFFu) == 0;
    alphaHigh_ = static_cast<uint16_t>((format.opaque >> 24) << 8);
    // A smaller picture is averaged instead: the nearest-pixel tables below are not needed.
    if (viewport.Width() < srcWidth || viewport.Height() < srcHeight) {
        shrink_ = std::make_unique<BoxFilter>(srcWidth, srcHeight, viewport, format.redShift, format.greenShift,
                                              format.blueShift, format.opaque);
        return;
    }
    column_.resize(static_cast<size_t>(std::max(0, viewport.Width())));
    for (size_t x = 0; x < column_.size(); ++x)
        column_[x] = static_cast<int32_t>(static_cast<int64_t>(x) * srcWidth / viewport.Width());
    row_.resize(static_cast<size_t>(std::max(0, viewport.Height())));
    for (size_t y = 0; y < row_.size(); ++y)
        row_[y] = static_cast<int32_t>(static_cast<int64_t>(y) * srcHeight / viewport.Height());
    rowBuffer_.resize(static_cast<size_t>(std::max(0, srcWidth)) + 3);
#if defined(__SSE2__)
    // A picture at least as wide as the source shows each source pixel once or twice, so four
    // neighbouring columns come from four neighbouring source pixels.
    bool widening = !column_.empty();
    for (size_t x = 1; x < column_.size(); ++x) widening = widening && column_[x] - column_[x - 1] <= 1;
    if (widening && xrgb_ && g_allowEightLanes && __builtin_cpu_supports("avx2")) {
        // Groups start at the columns whose screen column is a multiple of 8, so a screen row
        // that starts on 32 bytes takes whole aligned stores.
        phase_ = (8 - viewport.left % 8) % 8;
        const auto phase = static_cast<size_t>(phase_);
        eightLanes_.assign(column_.size() < phase ? 0 : phase + (column_.size() - phase) / 8 * 8, 0);
        for (size_t x = phase; x < eightLanes_.size(); ++x)
            eightLanes_[x] = column_[x] - column_[phase + (x - phase) / 8 * 8];
    } else if (widening && __builtin_cpu_supports("ssse3")) {
        groupMasks_.resize(column_.size() / 4 * 16);
        for (size_t g = 0; g < column_.size() / 4; ++g) {
            for (size_t lane = 0; lane < 4; ++lane) {
                const auto offset = static_cast<uint8_t>(column_[g * 4 + lane] - column_[g * 4]);
                for (size_t byte = 0; byte < 4; ++byte)
                    groupMasks_[g * 16 + lane * 4 + byte] = static_cast<uint8_t>(offset * 4 + byte);
            }
        }
    }
#endif
}

void ScaledCopy::AllowEightLanes(bool allow) { g_allowEightLanes = allow; }

void ScaledCopy::ConvertRow(const uint16_t* from, uint32_t* to, int32_t count) const {
    int32_t x = 0;
#if defined(__SSE2__)
    if (xrgb_) {
        const __m128i alpha = _mm_set1_epi16(static_cast<int16_t>(alphaHigh_));
        for (; x + 8 <= count; x += 8) {
            __m128i first;
            __m128i second;
            ConvertEight(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)), alpha, first, second);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), first);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x + 4), second);
        }
    }
#endif
    for (; x < count; ++x) to[x] = Convert(from[x]);
}

void ScaledCopy::Widen(const uint32_t* converted, int32_t x0, int32_t x1, uint32_t* to) const {
    const int32_t* column = column_.data();
    int32_t x = x0;
#if defined(__SSE2__)
    if (!groupMasks_.empty()) {
        for (; x < x1 && (x & 3) != 0; ++x) to[x - x0] = converted[column[x]];
        x = WidenGroups(converted, column, groupMasks_.data(), x, x1, to - x0);
    }
#endif
    for (; x < x1; ++x) to[x - x0] = converted[column[x]];
}

void ScaledCopy::WidenFromRgb565(const uint16_t* from, int32_t x0, int32_t x1, uint32_t* to) const {
    const int32_t* column = column_.data();
    int32_t x = x0;
#if defined(__SSE2__)
    for (; x < x1 && (x < phase_ || ((x - phase_) & 7) != 0); ++x) to[x - x0] = Convert(from[column[x]]);
    const auto groups = static_cast<int32_t>(eightLanes_.size());
    x = WidenEightsFromRgb565(from, column, eightLanes_.data(), x, std::min(x1, groups), srcWidth_, alphaHigh_,
                              to - x0);
#endif
    for (; x < x1; ++x) to[x - x0] = Convert(from[column[x]]);
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
    if (shrink_) return shrink_->DestRect(src);
    const int32_t vw = viewport_.Width();
    const int32_t vh = viewport_.Height();
    return Rect{viewport_.left + FirstAtOrAfter(src.left, vw, srcWidth_),
                viewport_.top + FirstAtOrAfter(src.top, vh, srcHeight_),
                viewport_.left + FirstAtOrAfter(src.right, vw, srcWidth_),
                viewport_.top + FirstAtOrAfter(src.bottom, vh, srcHeight_)};
}

void ScaledCopy::Copy(const Surface& source, const Rect& src, uint32_t* dst, int32_t pitchPixels) const {
    if (shrink_) {
        shrink_->Copy(source, src, dst, pitchPixels);
        return;
    }
    const Rect out = DestRect(src);
    const int32_t x0 = out.left - viewport_.left;
    const int32_t x1 = out.right - viewport_.left;
    const bool oneToOne = viewport_.Width() == srcWidth_;
    const uint32_t* previous = nullptr;
    int32_t previousRow = -1;
    for (int32_t y = out.top; y < out.bottom; ++y) {
        const int32_t sy = row_[static_cast<size_t>(y - viewport_.top)];
        uint32_t* to = dst + static_cast<size_t>(y) * pitchPixels + out.left;
        if (sy == previousRow && eightLanes_.empty()) {
            // A doubled row: the line above already holds it. (Eight-lane rows are written past
            // the cache, so reading the line back would cost more than converting it again.)
            std::memcpy(to, previous, static_cast<size_t>(x1 - x0) * 4);
            continue;
        }
        const uint16_t* from = source.Pixels() + static_cast<size_t>(sy) * source.PitchPixels();
        if (oneToOne) {
            ConvertRow(from + x0, to, x1 - x0);
        } else if (!eightLanes_.empty()) {
            WidenFromRgb565(from, x0, x1, to);
        } else if (x1 > x0) {
            // Convert the source columns once, then pick the nearest of each.
            const int32_t first = column_[static_cast<size_t>(x0)];
            ConvertRow(from + first, rowBuffer_.data(), column_[static_cast<size_t>(x1 - 1)] - first + 1);
            Widen(rowBuffer_.data() - first, x0, x1, to);
        }
        previous = to;
        previousRow = sy;
    }
}

}  // namespace platform
