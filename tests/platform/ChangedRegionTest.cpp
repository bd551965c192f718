#include "platform/ChangedRegion.h"

#include <gtest/gtest.h>

#include <random>

using platform::ChangedRegion;
using platform::Rect;
using platform::Surface;

namespace {

bool Covered(const std::vector<Rect>& rects, int32_t x, int32_t y) {
    for (const Rect& r : rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

TEST(ChangedRegionTest, CoversEveryChangedPixelAndLittleElse) {
    auto before = Surface::Create(800, 600);
    auto now = Surface::Create(800, 600);
    EXPECT_TRUE(ChangedRegion::Find(*now, *before).empty());

    // One pixel: one rectangle of one band, one column wide.
    now->Fill(Rect{799, 599, 800, 600}, 7);
    EXPECT_EQ(ChangedRegion::Find(*now, *before), (std::vector<Rect>{Rect{799, 592, 800, 600}}));

    // Scattered changes: all covered, within the limit of rectangles, far from the whole screen.
    std::mt19937 random(18);
    now = Surface::Create(800, 600);
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int i = 0; i < 40; ++i) {
        const int32_t x = static_cast<int32_t>(random() % 800);
        const int32_t y = static_cast<int32_t>(random() % 600);
        now->Fill(Rect{x, y, x + 1, y + 1}, 0xFFFF);
        points.emplace_back(x, y);
    }
    const auto rects = ChangedRegion::Find(*now, *before);
    ASSERT_FALSE(rects.empty());
    EXPECT_LE(rects.size(), ChangedRegion::kMaxRects);
    for (const auto& [x, y] : points) EXPECT_TRUE(Covered(rects, x, y)) << x << "," << y;

    // Two sprites in distant corners stay two small rectangles.
    now = Surface::Create(800, 600);
    now->Fill(Rect{10, 10, 40, 40}, 1);
    now->Fill(Rect{700, 500, 740, 540}, 1);
    const auto two = ChangedRegion::Find(*now, *before);
    int64_t area = 0;
    for (const Rect& r : two) area += static_cast<int64_t>(r.Width()) * r.Height();
    EXPECT_LE(area, 2 * 48 * 48);
    EXPECT_TRUE(Covered(two, 10, 10) && Covered(two, 39, 39) && Covered(two, 700, 500) && Covered(two, 739, 539));

    // Inside an area only: the sprite outside it is not looked at, bands start at its top.
    std::vector<Rect> inside;
    ChangedRegion::Find(*now, *before, Rect{600, 400, 800, 600}, inside);
    EXPECT_EQ(inside, (std::vector<Rect>{Rect{700, 496, 740, 544}}));
}

}  // namespace
