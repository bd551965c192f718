#include "platform/ScaledCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

using platform::Rect;
using platform::ScaledCopy;
using platform::Surface;

namespace {

TEST(ScaledCopyTest, ConvertsEveryChannelToItsFullRange) {
    const ScaledCopy copy(800, 600, Rect{0, 0, 800, 600}, ScaledCopy::Format{16, 8, 0, 0xFF000000u});
    EXPECT_EQ(copy.Convert(0x0000), 0xFF000000u);
    EXPECT_EQ(copy.Convert(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(copy.Convert(0xF800), 0xFFFF0000u);
    EXPECT_EQ(copy.Convert(0x07E0), 0xFF00FF00u);
    EXPECT_EQ(copy.Convert(0x001F), 0xFF0000FFu);
    // Green 0b100001 (split over both bytes) widens to 0b10000110; red 1 and blue 1 to 8.
    EXPECT_EQ(copy.Convert(static_cast<uint16_t>((1 << 11) | (0x21 << 5) | 1)), 0xFF088608u);
    const ScaledCopy bgr(800, 600, Rect{0, 0, 800, 600}, ScaledCopy::Format{0, 8, 16, 0});
    EXPECT_EQ(bgr.Convert(0xF800), 0x000000FFu);
}

TEST(ScaledCopyTest, RowConversionMatchesThePixelConversionForEveryValue) {
    for (const uint32_t opaque : {0xFF000000u, 0u}) {
        const ScaledCopy copy(800, 600, Rect{0, 0, 800, 600}, ScaledCopy::Format{16, 8, 0, opaque});
        std::vector<uint16_t> all(65536 + 5);
        for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint16_t>(i * 40503u);
        // An odd start and length take both the eight-pixel steps and the single pixels.
        std::vector<uint32_t> out(all.size(), 0x12345678u);
        copy.ConvertRow(all.data() + 1, out.data() + 1, static_cast<int32_t>(all.size() - 2));
        EXPECT_EQ(out.front(), 0x12345678u);
        EXPECT_EQ(out.back(), 0x12345678u);
        for (size_t i = 1; i + 1 < all.size(); ++i) ASSERT_EQ(out[i], copy.Convert(all[i])) << all[i];
    }
}

TEST(ScaledCopyTest, LetterboxesAndRedrawsAChangedRectangleExactlyAsAWholeCopy) {
    EXPECT_EQ(ScaledCopy::Letterbox(800, 600, 1280, 800), (Rect{107, 0, 1173, 800}));
    EXPECT_EQ(ScaledCopy::Letterbox(800, 600, 800, 600), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(ScaledCopy::Letterbox(800, 600, 1600, 1600), (Rect{0, 200, 1600, 1400}));

    const int32_t width = 1280;
    const int32_t height = 800;
    const ScaledCopy copy(800, 600, ScaledCopy::Letterbox(800, 600, width, height), ScaledCopy::Format{});
    auto back = Surface::Create(800, 600);
    std::mt19937 random(5);
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) back->Pixels()[y * back->PitchPixels() + x] = static_cast<uint16_t>(random());
    }
    std::vector<uint32_t> frame(static_cast<size_t>(width) * height, 0x12345678u);
    copy.Copy(*back, Rect{0, 0, 800, 600}, frame.data(), width);
    // Nearest pixel, bars untouched.
    EXPECT_EQ(frame[0], 0x12345678u);
    EXPECT_EQ(frame[1279], 0x12345678u);
    EXPECT_EQ(frame[107], copy.Convert(back->ReadPixel(0, 0)));
    EXPECT_EQ(frame[799 * width + 1172], copy.Convert(back->ReadPixel(799, 599)));
    EXPECT_EQ(frame[400 * width + 107 + 533], copy.Convert(back->ReadPixel(400, 300)));

    // Change a rectangle and draw only it: the same picture as drawing everything again.
    const Rect changed{333, 101, 517, 287};
    back->Fill(changed, 0xABCD);
    const Rect dest = copy.DestRect(changed);
    std::vector<uint32_t> whole(frame.size(), 0x12345678u);
    copy.Copy(*back, Rect{0, 0, 800, 600}, whole.data(), width);
    copy.Copy(*back, changed, frame.data(), width);
    EXPECT_EQ(frame, whole);
    // Nothing outside the destination rectangle was written.
    std::vector<uint32_t> only(frame.size(), 0);
    copy.Copy(*back, changed, only.data(), width);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool inside = x >= dest.left && x < dest.right && y >= dest.top && y < dest.bottom;
            ASSERT_EQ(only[static_cast<size_t>(y) * width + x] != 0, inside) << x << "," << y;
        }
    }
}

TEST(ScaledCopyTest, EveryPixelOfTheViewportIsItsNearestSourcePixelAtCommonScreenSizes) {
    auto back = Surface::Create(800, 600);
    std::mt19937 random(11);
    for (int32_t y = 0; y < 600; ++y) {
        for (int32_t x = 0; x < 800; ++x) back->Pixels()[y * back->PitchPixels() + x] = static_cast<uint16_t>(random());
    }
    const std::pair<int32_t, int32_t> screens[] = {{1280, 800}, {1366, 768}, {1920, 1080}, {1024, 768},
                                                   {801, 601},  {800, 600},  {1000, 760}};
    // Processors with eight-lane vectors take one path, the others another: both are checked.
    for (const bool eightLanes : {true, false}) {
        for (const auto& [width, height] : screens) {
            ScaledCopy::AllowEightLanes(eightLanes);
            const Rect view = ScaledCopy::Letterbox(800, 600, width, height);
            const ScaledCopy copy(800, 600, view, ScaledCopy::Format{});
            ScaledCopy::AllowEightLanes(true);
            std::vector<uint32_t> frame(static_cast<size_t>(width) * height, 0x12345678u);
            // A rectangle with odd edges first, then everything: both agree with the formula.
            const Rect part{13, 7, 795, 599};
            copy.Copy(*back, part, frame.data(), width);
            const Rect partDest = copy.DestRect(part);
            for (int32_t pass = 0; pass < 2; ++pass) {
                for (int32_t y = 0; y < height; ++y) {
                    for (int32_t x = 0; x < width; ++x) {
                        const uint32_t got = frame[static_cast<size_t>(y) * width + x];
                        const bool inside =
                            pass == 0
                                ? x >= partDest.left && x < partDest.right && y >= partDest.top && y < partDest.bottom
                                : x >= view.left && x < view.right && y >= view.top && y < view.bottom;
                        const uint32_t want = inside
                                                  ? copy.Convert(back->ReadPixel((x - view.left) * 800 / view.Width(),
                                                                                 (y - view.top) * 600 / view.Height()))
                                                  : 0x12345678u;
                        ASSERT_EQ(got, want) << width << "x" << height << " pass " << pass << " at " << x << "," << y
                                             << (eightLanes ? "" : " (four lanes)");
                    }
                }
                copy.Copy(*back, Rect{0, 0, 800, 600}, frame.data(), width);
            }
        }
    }
}

// A smaller screen (640x480, or a window shrunk to fit) averages the area each pixel covers: a
// one-pixel line of a character stays visible wherever it stands, where picking the nearest
// pixel dropped every fifth; a plain area keeps its colour; a changed rectangle redraws exactly
// what a whole copy draws.
TEST(ScaledCopyTest, AShrunkPictureKeepsEveryOnePixelLineAndRedrawsAChangedRectangleAsAWholeCopy) {
    for (const auto& size : {std::pair{640, 480}, std::pair{700, 500}, std::pair{533, 400}}) {
        const int32_t width = size.first;
        const int32_t height = size.second;
        const Rect view = ScaledCopy::Letterbox(800, 600, width, height);
        const ScaledCopy copy(800, 600, view, ScaledCopy::Format{16, 8, 0, 0xFF000000u});
        auto back = Surface::Create(800, 600);
        back->Fill(Rect{0, 0, 800, 600}, 0xFFFF);
        for (int32_t x = 1; x < 800; x += 4) back->Fill(Rect{x, 0, x + 1, 300}, 0x0000);    // upright lines
        for (int32_t y = 301; y < 600; y += 4) back->Fill(Rect{0, y, 800, y + 1}, 0x0000);  // level lines
        std::vector<uint32_t> frame(static_cast<size_t>(width) * height, 0x12345678u);
        copy.Copy(*back, Rect{0, 0, 800, 600}, frame.data(), width);
        auto blue = [&](int32_t x, int32_t y) { return frame[static_cast<size_t>(y) * width + x] & 0xFF; };
        const int32_t midY = view.top + 150 * view.Height() / 600;
        for (int32_t line = 1; line < 800; line += 4) {
            const int32_t x = view.left + line * view.Width() / 800;
            EXPECT_LE(std::min(blue(x, midY), blue(std::min(x + 1, view.right - 1), midY)), 180u)
                << width << "x" << height << ": upright line " << line << " is gone";
        }
        const int32_t midX = view.left + view.Width() / 2;
        for (int32_t line = 301; line < 600; line += 4) {
            const int32_t y = view.top + line * view.Height() / 600;
            EXPECT_LE(std::min(blue(midX, y), blue(midX, std::min(y + 1, view.bottom - 1))), 180u)
                << width << "x" << height << ": level line " << line << " is gone";
        }
        back->Fill(Rect{0, 0, 800, 600}, 0xF800);
        const Rect changed{333, 101, 517, 287};
        back->Fill(changed, 0x07E0);
        std::vector<uint32_t> whole(frame.size(), 0x12345678u);
        copy.Copy(*back, Rect{0, 0, 800, 600}, whole.data(), width);
        EXPECT_EQ(whole[static_cast<size_t>(view.top) * width + view.left], 0xFFFF0000u);
        std::vector<uint32_t> redrawn = whole;
        copy.Copy(*back, Rect{0, 0, 800, 600}, redrawn.data(), width);
        back->Fill(changed, 0x001F);
        copy.Copy(*back, Rect{0, 0, 800, 600}, whole.data(), width);
        copy.Copy(*back, changed, redrawn.data(), width);
        EXPECT_EQ(redrawn, whole) << width << "x" << height;
        EXPECT_EQ(whole[0], view.left > 0 || view.top > 0 ? 0x12345678u : 0xFFFF0000u);
    }
    // However small (a window squeezed to a few pixels), each pixel is the mean of its area:
    // black and white stripes one pixel wide give grey everywhere.
    auto stripes = Surface::Create(800, 600);
    for (int32_t x = 0; x < 800; ++x) stripes->Fill(Rect{x, 0, x + 1, 600}, x % 2 ? 0xFFFF : 0x0000);
    for (const int32_t width : {2, 13, 24, 27, 40, 97}) {
        const int32_t height = width * 3 / 4 + 1;
        const Rect view = ScaledCopy::Letterbox(800, 600, width, height);
        const ScaledCopy copy(800, 600, view, ScaledCopy::Format{});
        std::vector<uint32_t> frame(static_cast<size_t>(width) * height);
        copy.Copy(*stripes, Rect{0, 0, 800, 600}, frame.data(), width);
        for (int32_t y = view.top; y < view.bottom; ++y) {
            for (int32_t x = view.left; x < view.right; ++x) {
                const uint32_t blue = frame[static_cast<size_t>(y) * width + x] & 0xFF;
                ASSERT_TRUE(blue >= 110 && blue <= 145) << width << " wide, at " << x << "," << y << ": " << blue;
            }
        }
    }
}

}  // namespace
