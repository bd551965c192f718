#include "platform/ChangedRegion.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// First and one-past-last differing columns of a row; false when the row is the same.
bool RowSpan(const uint16_t* a, const uint16_t* b, int32_t width, int32_t& left, int32_t& right) {
    if (std::memcmp(a, b, static_cast<size_t>(width) * 2) == 0) return false;
    int32_t l = 0;
    while (a[l] == b[l]) ++l;
    int32_t r = width;
    while (a[r - 1] == b[r - 1]) --r;
    left = l;
    right = r;
    return true;
}

int64_t Area(const Rect& r) { return static_cast<int64_t>(r.Width()) * r.Height(); }

Rect Union(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

std::vector<Rect> ChangedRegion::Find(const Surface& now, const Surface& before) {
    std::vector<Rect> rects;
    Find(now, before, rects);
    return rects;
}

void ChangedRegion::Find(const Surface& now, const Surface& before, std::vector<Rect>& rects) {
    if (now.Width() != before.Width() || now.Height() != before.Height()) {
        rects.assign(1, Rect{0, 0, now.Width(), now.Height()});
        return;
    }
    Find(now, before, Rect{0, 0, now.Width(), now.Height()}, rects);
}

void ChangedRegion::Find(const Surface& now, const Surface& before, const Rect& area, std::vector<Rect>& rects) {
    const int32_t width = area.Width();
    rects.clear();
    if (width <= 0) return;
    for (int32_t top = area.top; top < area.bottom; top += kBandRows) {
        const int32_t bottom = std::min(area.bottom, top + kBandRows);
        Rect band{area.right, top, area.left, bottom};
        bool changed = false;
        for (int32_t y = top; y < bottom; ++y) {
            int32_t left = 0;
            int32_t right = 0;
            if (!RowSpan(now.Pixels() + static_cast<size_t>(y) * now.PitchPixels() + area.left,
                         before.Pixels() + static_cast<size_t>(y) * before.PitchPixels() + area.left, width, left,
                         right)) {
                continue;
            }
            changed = true;
            band.left = std::min(band.left, area.left + left);
            band.right = std::max(band.right, area.left + right);
        }
        if (!changed) continue;
        if (!rects.empty() && rects.back().bottom == top) {
            // Touching the band above: one rectangle when the union wastes under a quarter.
            const Rect joined = Union(rects.back(), band);
            if (Area(joined) * 3 <= (Area(rects.back()) + Area(band)) * 4) {
                rects.back() = joined;
                continue;
            }
        }
        rects.push_back(band);
    }
    if (rects.size() > kMaxRects) {
        Rect all = rects.front();
        for (const Rect& r : rects) all = Union(all, r);
        rects.assign(1, all);
    }
}

}  // namespace platform
