#include "platform/Surface.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>

using platform::Rect;
using platform::Surface;
using platform::SurfacePtr;

namespace {

SurfacePtr Filled(int32_t w, int32_t h, uint16_t value) {
    auto s = Surface::Create(w, h);
    s->Fill(Rect{}, value);
    return s;
}

// Every pixel a different value: 1 + x + y * w (never 0).
SurfacePtr Numbered(int32_t w, int32_t h) {
    auto s = Surface::Create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) s->Pixels()[y * s->PitchPixels() + x] = static_cast<uint16_t>(1 + x + y * w);
    }
    return s;
}

int CountOf(const Surface& s, uint16_t value) {
    int n = 0;
    for (int32_t y = 0; y < s.Height(); ++y) {
        for (int32_t x = 0; x < s.Width(); ++x) n += s.ReadPixel(x, y) == value ? 1 : 0;
    }
    return n;
}

TEST(SurfaceTest, CreatesZeroFilledSurfacesWithinBounds) {
    auto s = Surface::Create(3, 2);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 3);
    EXPECT_EQ(s->Height(), 2);
    EXPECT_EQ(CountOf(*s, 0), 6);
    EXPECT_EQ(s->ReadPixel(-1, 0), 0);
    EXPECT_EQ(s->ReadPixel(3, 0), 0);
    EXPECT_EQ(Surface::Create(0, 5), nullptr);
    EXPECT_EQ(Surface::Create(5, -1), nullptr);
    EXPECT_EQ(Surface::Create(Surface::kMaxSide + 1, 1), nullptr);
}

TEST(SurfaceTest, KeyedCopySkipsKeyPixelsAndOpaqueCopyCopiesAll) {
    auto sprite = Surface::Create(4, 1);
    const uint16_t row[4] = {0, 0x1234, 0, 0xFFFF};
    for (int i = 0; i < 4; ++i) sprite->Pixels()[i] = row[i];
    sprite->SetColorKey(0);

    auto keyed = Filled(4, 1, 0x7777);
    ASSERT_TRUE(keyed->CopyFast(0, 0, *sprite, Rect{}, true));
    EXPECT_EQ(keyed->ReadPixel(0, 0), 0x7777);
    EXPECT_EQ(keyed->ReadPixel(1, 0), 0x1234);
    EXPECT_EQ(keyed->ReadPixel(2, 0), 0x7777);
    EXPECT_EQ(keyed->ReadPixel(3, 0), 0xFFFF);

    auto opaque = Filled(4, 1, 0x7777);
    ASSERT_TRUE(opaque->CopyFast(0, 0, *sprite, Rect{}, false));
    EXPECT_EQ(opaque->ReadPixel(0, 0), 0);
    EXPECT_EQ(opaque->ReadPixel(2, 0), 0);

    sprite->ClearColorKey();
    auto unkeyed = Filled(4, 1, 0x7777);
    ASSERT_TRUE(unkeyed->CopyFast(0, 0, *sprite, Rect{}, true));
    EXPECT_EQ(unkeyed->ReadPixel(0, 0), 0);
}

TEST(SurfaceTest, KeyedCopyOfWideRowsMatchesPixelByPixel) {
    // Rows long enough for the vector path, with key pixels scattered through them.
    auto sprite = Numbered(37, 3);
    for (int32_t i = 0; i < 37 * 3; i += 3) sprite->Pixels()[(i / 37) * sprite->PitchPixels() + i % 37] = 5;
    sprite->SetColorKey(5);
    auto dst = Filled(40, 4, 0xABCD);
    ASSERT_TRUE(dst->CopyFast(2, 1, *sprite, Rect{}, true));
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 37; ++x) {
            const uint16_t s = sprite->ReadPixel(x, y);
            EXPECT_EQ(dst->ReadPixel(x + 2, y + 1), s == 5 ? 0xABCD : s) << x << "," << y;
        }
    }
    EXPECT_EQ(dst->ReadPixel(1, 1), 0xABCD);
    EXPECT_EQ(dst->ReadPixel(39, 1), 0xABCD);
}

TEST(SurfaceTest, CopiesAreClippedToBothSurfaces) {
    auto src = Numbered(10, 10);
    auto dst = Filled(8, 8, 0);

    // Hanging over the top-left corner: source pixel (3,2) lands on (0,0).
    ASSERT_TRUE(dst->CopyFast(-3, -2, *src, Rect{}, false));
    EXPECT_EQ(dst->ReadPixel(0, 0), src->ReadPixel(3, 2));
    EXPECT_EQ(dst->ReadPixel(6, 7), src->ReadPixel(9, 9));
    EXPECT_EQ(dst->ReadPixel(7, 0), 0);  // past the source's right edge

    // Hanging over the bottom-right corner.
    dst->Fill(Rect{}, 0);
    ASSERT_TRUE(dst->CopyFast(5, 6, *src, Rect{}, false));
    EXPECT_EQ(dst->ReadPixel(5, 6), src->ReadPixel(0, 0));
    EXPECT_EQ(dst->ReadPixel(7, 7), src->ReadPixel(2, 1));
    EXPECT_EQ(CountOf(*dst, 0), 64 - 6);

    // A source rectangle reaching outside the source reads only the part inside it.
    dst->Fill(Rect{}, 0);
    ASSERT_TRUE(dst->CopyFast(0, 0, *src, Rect{-2, -2, 3, 3}, false));
    EXPECT_EQ(dst->ReadPixel(2, 2), src->ReadPixel(0, 0));
    EXPECT_EQ(dst->ReadPixel(4, 4), src->ReadPixel(2, 2));
    EXPECT_EQ(CountOf(*dst, 0), 64 - 9);

    // Far off or absurd values copy nothing and touch nothing.
    dst->Fill(Rect{}, 0);
    EXPECT_TRUE(dst->CopyFast(INT_MAX, INT_MAX, *src, Rect{}, true));
    EXPECT_TRUE(dst->CopyFast(INT_MIN, 0, *src, Rect{0, 0, INT_MAX, 5}, false));
    EXPECT_TRUE(dst->CopyFast(0, INT_MIN, *src, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, true));
    EXPECT_TRUE(dst->CopyFast(0, 0, *src, Rect{20, 20, 30, 30}, false));
    EXPECT_EQ(CountOf(*dst, 0), 64);

    // Empty and inverted rectangles are refused.
    EXPECT_FALSE(dst->CopyFast(0, 0, *src, Rect{5, 0, 5, 5}, false));
    EXPECT_FALSE(dst->CopyFast(0, 0, *src, Rect{6, 0, 2, 5}, true));
    EXPECT_EQ(CountOf(*dst, 0), 64);
}

TEST(SurfaceTest, CopyOntoItselfUsesTheOriginalPixels) {
    auto s = Numbered(6, 1);
    auto expected = s->Clone();
    ASSERT_TRUE(s->CopyFast(1, 0, *s, Rect{0, 0, 5, 1}, false));
    for (int32_t x = 1; x < 6; ++x) EXPECT_EQ(s->ReadPixel(x, 0), expected->ReadPixel(x - 1, 0));
}

TEST(SurfaceTest, StretchedCopyTakesTheNearestSourcePixel) {
    auto src = Numbered(2, 2);  // 1 2 / 3 4
    auto dst = Filled(6, 6, 0);
    ASSERT_TRUE(dst->CopyStretched(Rect{1, 1, 5, 5}, *src, Rect{}, false));
    EXPECT_EQ(dst->ReadPixel(1, 1), 1);
    EXPECT_EQ(dst->ReadPixel(2, 2), 1);
    EXPECT_EQ(dst->ReadPixel(3, 1), 2);
    EXPECT_EQ(dst->ReadPixel(1, 4), 3);
    EXPECT_EQ(dst->ReadPixel(4, 4), 4);
    EXPECT_EQ(dst->ReadPixel(0, 0), 0);
    EXPECT_EQ(dst->ReadPixel(5, 5), 0);

    // Shrinking: every other column of a 4-wide strip.
    auto strip = Numbered(4, 1);
    auto narrow = Filled(2, 1, 0);
    ASSERT_TRUE(narrow->CopyStretched(Rect{}, *strip, Rect{}, false));
    EXPECT_EQ(narrow->ReadPixel(0, 0), 1);
    EXPECT_EQ(narrow->ReadPixel(1, 0), 3);
}

TEST(SurfaceTest, StretchedCopyHonoursTheKeyAndStaysInBounds) {
    auto src = Numbered(2, 1);
    src->Pixels()[0] = 0;
    src->SetColorKey(0);
    auto dst = Filled(4, 2, 9);
    ASSERT_TRUE(dst->CopyStretched(Rect{0, 0, 4, 2}, *src, Rect{}, true));
    EXPECT_EQ(dst->ReadPixel(0, 0), 9);
    EXPECT_EQ(dst->ReadPixel(1, 1), 9);
    EXPECT_EQ(dst->ReadPixel(2, 0), 2);
    ASSERT_TRUE(dst->CopyStretched(Rect{0, 0, 4, 2}, *src, Rect{}, false));
    EXPECT_EQ(dst->ReadPixel(0, 0), 0);

    // Destination hanging off the surface, source reaching past the source: no stray access,
    // and destination pixels without a source pixel stay as they were.
    auto big = Numbered(3, 3);
    auto small = Filled(4, 4, 7);
    EXPECT_TRUE(small->CopyStretched(Rect{-4, -4, 8, 8}, *big, Rect{0, 0, 6, 6}, false));
    EXPECT_EQ(small->ReadPixel(0, 0), big->ReadPixel(2, 2));
    EXPECT_EQ(small->ReadPixel(3, 3), 7);  // maps to source (4,4), outside the source
    EXPECT_FALSE(small->CopyStretched(Rect{3, 0, 1, 2}, *big, Rect{}, false));
    EXPECT_TRUE(small->CopyStretched(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, *big, Rect{}, false));
    // Both rectangles about as large as they can be: the source position of each pixel is
    // still exact (nearly one to one here).
    small->Fill(Rect{}, 7);
    EXPECT_TRUE(small->CopyStretched(Rect{INT_MIN, INT_MIN, INT_MAX - 1, INT_MAX - 1}, *big,
                                     Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false));
    EXPECT_EQ(small->ReadPixel(0, 0), big->ReadPixel(0, 0));  // same scale: pixel for pixel
    EXPECT_EQ(small->ReadPixel(2, 2), big->ReadPixel(2, 2));
    EXPECT_EQ(CountOf(*small, 7), 16 - 9 + 1);  // big holds one 7 itself
}

TEST(SurfaceTest, FillUsesTheRawValueAndBoxTheBgrColour) {
    auto s = Filled(10, 10, 0);
    ASSERT_TRUE(s->Fill(Rect{2, 2, 8, 8}, 0x12345678));
    EXPECT_EQ(s->ReadPixel(2, 2), 0x5678);  // low 16 bits
    EXPECT_EQ(s->ReadPixel(7, 7), 0x5678);
    EXPECT_EQ(s->ReadPixel(8, 8), 0);
    EXPECT_FALSE(s->Fill(Rect{5, 5, 5, 9}, 1));
    EXPECT_TRUE(s->Fill(Rect{-100, 9, 100, 100}, 3));
    EXPECT_EQ(CountOf(*s, 3), 10);

    // Red in 0x00BBGGRR is 0xF800 in RGB565; blue 0x001F.
    EXPECT_EQ(Surface::RawFromBgr(0x000000FF), 0xF800);
    EXPECT_EQ(Surface::RawFromBgr(0x00FF0000), 0x001F);
    EXPECT_EQ(Surface::RawFromBgr(0x00407C00), 1000);

    auto box = Filled(10, 10, 0);
    ASSERT_TRUE(box->DrawBox(2, 3, 7, 9, 0x000000FF));
    EXPECT_EQ(box->ReadPixel(2, 3), 0xF800);
    EXPECT_EQ(box->ReadPixel(6, 3), 0xF800);
    EXPECT_EQ(box->ReadPixel(6, 8), 0xF800);
    EXPECT_EQ(box->ReadPixel(2, 8), 0xF800);
    EXPECT_EQ(box->ReadPixel(4, 5), 0);  // outline only
    EXPECT_EQ(box->ReadPixel(7, 3), 0);
    EXPECT_EQ(box->ReadPixel(2, 9), 0);
    EXPECT_EQ(CountOf(*box, 0xF800), 2 * 5 + 2 * 4);
    EXPECT_TRUE(box->DrawBox(-5, -5, 50, 50, 0x00FFFFFF));  // off the edges: clipped away
}

TEST(SurfaceTest, AdoptTruncatesEachChannelAndDropsAlphaOverBlack) {
    SDL_Surface* argb = SDL_CreateRGBSurfaceWithFormat(0, 4, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(argb, nullptr);
    auto* p = static_cast<uint32_t*>(argb->pixels);
    p[0] = 0xFF007C40;  // rgb(0,124,64): the hit-test colour
    p[1] = 0xFF070307;  // near black
    p[2] = 0x00FFFFFF;  // fully transparent
    p[3] = 0xFFFFFFFF;
    auto s = Surface::Adopt(argb);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ReadPixel(0, 0), 1000);
    EXPECT_EQ(s->ReadPixel(1, 0), 0);
    EXPECT_EQ(s->ReadPixel(2, 0), 0);
    EXPECT_EQ(s->ReadPixel(3, 0), 0xFFFF);
    EXPECT_FALSE(s->HasColorKey());

    // Near black turns transparent in a keyed copy.
    s->SetColorKey(0);
    auto dst = Filled(4, 1, 0x5555);
    dst->CopyFast(0, 0, *s, Rect{}, true);
    EXPECT_EQ(dst->ReadPixel(1, 0), 0x5555);
    EXPECT_EQ(dst->ReadPixel(0, 0), 1000);
    EXPECT_EQ(Surface::Adopt(nullptr), nullptr);
}

}  // namespace
