#include "platform/FontFace.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/CodePage.h"

using platform::FontFace;
using platform::FontRequest;
using platform::Rect;
using platform::Surface;

namespace {

FontRequest Song() {
    FontRequest r;
    r.faceAnsi = platform::ToAnsi(u"宋体");
    r.charSet = 134;
    r.height = -14;
    return r;
}

FontRequest Arial(int32_t height, bool bold) {
    FontRequest r;
    r.faceAnsi = "Arial";
    r.height = height;
    r.weight = bold ? 700 : 400;
    return r;
}

TEST(FontFaceTest, ChineseAndLatinNamesFindCoveringFaces) {
    auto song = FontFace::Create(Song());
    ASSERT_NE(song, nullptr);
    EXPECT_NE(song->File().find("wqy"), std::string::npos) << song->File();
    auto arial = FontFace::Create(Arial(-19, true));
    ASSERT_NE(arial, nullptr);
    EXPECT_NE(arial->File().find("LiberationSans"), std::string::npos) << arial->File();
    // Unknown names still give some face.
    FontRequest odd;
    odd.faceAnsi = "No Such Face";
    EXPECT_NE(FontFace::Create(odd), nullptr);
}

// A Latin line with Chinese in it keeps its own face for its letters; the characters it lacks
// come from a Chinese face of its size, on the same baseline.
TEST(FontFaceTest, CharactersALatinFaceLacksAreDrawnWithAChineseFaceOfItsSize) {
    FontRequest chinese;
    chinese.charSet = 134;
    chinese.height = -19;
    auto wide = FontFace::Create(chinese);
    auto arial = FontFace::Create(Arial(-19, false));
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(arial, nullptr);
    auto Drawn = [](const FontFace& face, const std::u16string& text, int32_t y) {
        auto s = Surface::Create(160, 60);
        s->Fill(Rect{}, 0);
        face.Draw(*s, 2, y, text, 0x00FFFFFF);
        std::vector<uint16_t> pixels;
        for (int32_t row = 0; row < 60; ++row)
            for (int32_t x = 0; x < 160; ++x) pixels.push_back(s->ReadPixel(x, row));
        return pixels;
    };
    const int32_t baseline = 10 + arial->Ascent();
    EXPECT_EQ(Drawn(*arial, u"打字", 10), Drawn(*wide, u"打字", baseline - wide->Ascent()));
    EXPECT_EQ(arial->Measure(u"打字 ab").cx, wide->Measure(u"打字").cx + arial->Measure(u" ab").cx);
    EXPECT_NE(Drawn(*arial, u"打字 ab", 10), Drawn(*wide, u"打字 ab", baseline - wide->Ascent()))
        << "the letters keep the Latin face";
    EXPECT_NE(Drawn(*arial, u"ab", 10), Drawn(*wide, u"ab", 10));
}

TEST(FontFaceTest, NegativeHeightIsTheEmAndPositiveTheLine) {
    auto em = FontFace::Create(Arial(-19, false));
    ASSERT_NE(em, nullptr);
    // An em of 19 pixels: the line (ascent + descent) is a little taller.
    EXPECT_GE(em->LineHeight(), 19);
    EXPECT_LE(em->LineHeight(), 26);

    auto line = FontFace::Create(Arial(19, false));
    ASSERT_NE(line, nullptr);
    EXPECT_LE(line->LineHeight(), 19);
    EXPECT_GE(line->LineHeight(), 17);
    EXPECT_LT(line->LineHeight(), em->LineHeight());

    const auto size = em->Measure(u"Hello");
    EXPECT_EQ(size.cy, em->LineHeight());
    EXPECT_GT(size.cx, 30);
    EXPECT_LT(size.cx, 80);
    EXPECT_GT(em->Measure(u"Hello world").cx, size.cx);
    EXPECT_EQ(em->Measure(u"").cx, 0);
}

TEST(FontFaceTest, SeenFontsCostNoFileWork) {
    auto first = FontFace::Create(Arial(-23, false));
    ASSERT_NE(first, nullptr);
    const uint64_t opened = FontFace::FilesOpened();
    for (int i = 0; i < 5; ++i) {
        auto again = FontFace::Create(Arial(-23, false));
        ASSERT_NE(again, nullptr);
        EXPECT_NE(again.get(), first.get());  // a new handle over the same face
    }
    first.reset();
    EXPECT_NE(FontFace::Create(Arial(-23, false)), nullptr);
    EXPECT_EQ(FontFace::FilesOpened(), opened);
}

TEST(FontFaceTest, DrawsBlendedTextOnATransparentBackground) {
    auto face = FontFace::Create(Song());
    auto arial = FontFace::Create(Arial(-19, true));
    ASSERT_NE(face, nullptr);
    ASSERT_NE(arial, nullptr);
    auto s = Surface::Create(200, 40);
    s->Fill(Rect{}, 0x0841);
    ASSERT_TRUE(face->Draw(*s, 5, 5, u"打字ABC", 0x00FFFFFF));
    ASSERT_TRUE(arial->Draw(*s, 100, 5, u"Hello", 0x00FFFFFF));
    int white = 0;
    int background = 0;
    int between = 0;
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            const uint16_t p = s->ReadPixel(x, y);
            if (p == 0xFFFF) {
                ++white;
            } else if (p == 0x0841) {
                ++background;
            } else {
                ++between;
            }
            if (x < 5 || y < 5) {
                EXPECT_EQ(p, 0x0841);
            }
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(background, 200 * 40 / 2);
    EXPECT_GT(between, 0);  // anti-aliased edges are blended

    // The same line again comes from the cache; partly off the surface is clipped.
    const uint64_t rendered = FontFace::LinesRendered();
    EXPECT_TRUE(face->Draw(*s, -10, 30, u"打字ABC", 0x00FFFFFF));
    EXPECT_TRUE(face->Draw(*s, 190, -8, u"打字ABC", 0x00FFFFFF));
    EXPECT_EQ(FontFace::LinesRendered(), rendered);
    EXPECT_TRUE(face->Draw(*s, 0, 0, u"", 0));
}

}  // namespace
