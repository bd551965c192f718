#pragma once
// How legible a text is in a snapshot: the contrast ratio (relative luminance, 1:1 to 21:1)
// between the text's own colour and what lies right beside its letters.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace testsupport {

// Relative luminance of an RGB565 pixel.
inline double Luminance(uint16_t raw) {
    auto linear = [](int value, int bits) {
        const double c = static_cast<double>(value) / ((1 << bits) - 1);
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(raw >> 11, 5) + 0.7152 * linear((raw >> 5) & 0x3F, 6) + 0.0722 * linear(raw & 0x1F, 5);
}

inline double ContrastRatio(uint16_t a, uint16_t b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct TextContrast {
    int letterPixels = 0;  // pixels of the text's exact colour in the region
    double ratio = 0.0;    // what half of the letters' edge pixels reach at least
};

// Finds the pixels of `textBgr` (0xBBGGRR as the game draws it) in `region` of `shot`. For each
// one on a letter's edge, the most distinct pixel within two of it (past the letter's smoothed
// rim) is what the eye reads it against; the ratio reported is the median of those
// contrasts.
inline TextContrast MeasureText(const platform::Surface& shot, const platform::Rect& region, uint32_t textBgr) {
    const uint16_t text = platform::Surface::RawFromBgr(textBgr);
    TextContrast result;
    std::vector<double> edges;
    for (int32_t y = region.top; y < region.bottom; ++y) {
        for (int32_t x = region.left; x < region.right; ++x) {
            if (shot.ReadPixel(x, y) != text) continue;
            ++result.letterPixels;
            double best = 0.0;
            bool edge = false;
            for (int32_t dy = -2; dy <= 2; ++dy) {
                for (int32_t dx = -2; dx <= 2; ++dx) {
                    const uint16_t beside = shot.ReadPixel(x + dx, y + dy);
                    if (beside == text) continue;
                    edge = edge || (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1);
                    best = std::max(best, ContrastRatio(text, beside));
                }
            }
            if (edge) edges.push_back(best);
        }
    }
    if (edges.empty()) return result;
    std::sort(edges.begin(), edges.end());
    result.ratio = edges[edges.size() / 2];
    return result;
}

}  // namespace testsupport
