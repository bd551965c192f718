#include "engine/GraphicEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/GameFont.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "shell/FrameLoop.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"

using platform::Rect;
using platform::Surface;
using platform::SurfacePtr;

namespace {

// Every pixel a different, non-zero value: 1 + x + y * w.
SurfacePtr Sprite(int32_t w, int32_t h) {
    auto s = Surface::Create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) s->Pixels()[y * s->PitchPixels() + x] = static_cast<uint16_t>(1 + x + y * w);
    }
    s->SetColorKey(0);
    return s;
}

class GraphicEngineTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.Init(nullptr));
        back_ = &engine_.BackSurface();
    }
    int CountOf(uint16_t value) const {
        int n = 0;
        for (int32_t y = 0; y < back_->Height(); ++y) {
            for (int32_t x = 0; x < back_->Width(); ++x) n += back_->ReadPixel(x, y) == value ? 1 : 0;
        }
        return n;
    }

    GraphicEngine engine_{nullptr};
    Surface* back_ = nullptr;
};

TEST_F(GraphicEngineTest, ClippedSpriteHangingOffTheLeftEdge) {
    auto sprite = Sprite(50, 20);
    Rect src{0, 0, 50, 20};
    ASSERT_TRUE(engine_.DrawKeyedClipped(-10, 100, *sprite, src));
    EXPECT_EQ(src, (Rect{10, 0, 50, 20}));
    EXPECT_EQ(back_->ReadPixel(0, 100), sprite->ReadPixel(10, 0));
    EXPECT_EQ(back_->ReadPixel(39, 119), sprite->ReadPixel(49, 19));
    EXPECT_EQ(back_->ReadPixel(40, 100), 0);
    EXPECT_EQ(CountOf(0), 800 * 600 - 40 * 20);
}

TEST_F(GraphicEngineTest, ClippedSpritePastTheRightAndBottomEdges) {
    auto sprite = Sprite(50, 20);
    Rect src{0, 0, 50, 20};
    ASSERT_TRUE(engine_.DrawKeyedClipped(780, 590, *sprite, src));
    EXPECT_EQ(src, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(back_->ReadPixel(780, 590), sprite->ReadPixel(0, 0));
    EXPECT_EQ(back_->ReadPixel(799, 599), sprite->ReadPixel(19, 9));
    EXPECT_EQ(CountOf(0), 800 * 600 - 20 * 10);

    // A rectangle that starts inside the picture keeps its offset.
    Rect inner{5, 2, 55, 12};
    auto wide = Sprite(60, 20);
    ASSERT_TRUE(engine_.DrawKeyedClipped(790, 0, *wide, inner));
    EXPECT_EQ(inner, (Rect{5, 2, 15, 12}));
    EXPECT_EQ(back_->ReadPixel(790, 0), wide->ReadPixel(5, 2));
}

TEST_F(GraphicEngineTest, NegativeLeftIsNotAlsoCutAtTheRightEdge) {
    auto wide = Sprite(900, 10);
    Rect src{0, 0, 900, 10};
    ASSERT_TRUE(engine_.DrawKeyedClipped(-10, -4, *wide, src));
    EXPECT_EQ(src, (Rect{10, 4, 900, 10}));
    // The surface itself still keeps the copy on the screen.
    EXPECT_EQ(back_->ReadPixel(0, 0), wide->ReadPixel(10, 4));
    EXPECT_EQ(back_->ReadPixel(799, 5), wide->ReadPixel(809, 9));
    EXPECT_EQ(back_->ReadPixel(0, 6), 0);
}

TEST_F(GraphicEngineTest, SpritesWhollyOffTheScreenAreSkipped) {
    auto sprite = Sprite(50, 20);
    const Rect cases[] = {{0, 0, 50, 20}, {0, 0, 50, 20}, {0, 0, 50, 20}, {0, 0, 50, 20}};
    const int32_t positions[][2] = {{-60, 10}, {810, 10}, {10, -25}, {10, 700}};
    for (int i = 0; i < 4; ++i) {
        Rect src = cases[i];
        EXPECT_TRUE(engine_.DrawKeyedClipped(positions[i][0], positions[i][1], *sprite, src)) << i;
    }
    EXPECT_EQ(CountOf(0), 800 * 600);

    // A rectangle the clipping turns into all zeros is empty too, not "the whole picture".
    Rect outside{-10, -20, 0, 0};
    EXPECT_TRUE(engine_.DrawKeyedClipped(-10, -20, *sprite, outside));
    EXPECT_EQ(outside, (Rect{}));
    EXPECT_EQ(CountOf(0), 800 * 600);
}

TEST_F(GraphicEngineTest, FillBoxFillsRawAndOutlinesInBgr) {
    // Fill 0x001F is raw blue; outline 0x000000FF is red in 0x00BBGGRR.
    ASSERT_TRUE(engine_.FillBox(10, 20, 30, 40, 0x000000FF, 0x001F));
    EXPECT_EQ(back_->ReadPixel(15, 25), 0x001F);
    EXPECT_EQ(back_->ReadPixel(10, 20), 0xF800);
    EXPECT_EQ(back_->ReadPixel(29, 39), 0xF800);
    EXPECT_EQ(back_->ReadPixel(30, 40), 0);
    EXPECT_EQ(CountOf(0x001F) + CountOf(0xF800), 20 * 20);
    EXPECT_EQ(CountOf(0xF800), 2 * 20 + 2 * 18);
}

TEST_F(GraphicEngineTest, StretchDrawUsesTheKeyOnlyWithTheKeyFlag) {
    auto sprite = Sprite(2, 1);
    sprite->Pixels()[0] = 0;
    engine_.Clear(7);
    ASSERT_TRUE(engine_.StretchDraw(Rect{0, 0, 8, 4}, *sprite, Rect{}, kCopyWait | kCopySrcColorKey));
    EXPECT_EQ(back_->ReadPixel(0, 0), 7);
    EXPECT_EQ(back_->ReadPixel(7, 3), 2);
    ASSERT_TRUE(engine_.StretchDraw(Rect{0, 0, 8, 4}, *sprite, Rect{}, kCopyWait | kCopyAsync));
    EXPECT_EQ(back_->ReadPixel(0, 0), 0);
    EXPECT_EQ(back_->ReadPixel(8, 0), 7);
}

TEST_F(GraphicEngineTest, TextCallsOutsideTheBracketDoNothing) {
    auto font = std::make_shared<GameFont>();
    font->SetFaceName(u"Arial");
    font->SetHeight(-19);
    engine_.SetFont(font);

    engine_.SetTextColor(0x00FFFFFF);
    EXPECT_FALSE(engine_.DrawText(10, 10, u"Hello"));
    EXPECT_EQ(engine_.MeasureText(u"Hello"), (platform::Size{0, 0}));
    EXPECT_EQ(CountOf(0), 800 * 600);
    EXPECT_EQ(font->HandlesCreated(), 0);

    engine_.BeginText();
    EXPECT_TRUE(engine_.TextOpen());
    EXPECT_EQ(engine_.TextColor(), 0u);  // the colour set while closed was not applied
    const auto size = engine_.MeasureText(u"Hello");
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    engine_.SetTextColor(0x00FFFFFF);
    ASSERT_TRUE(engine_.DrawText(10, 10, u"Hello"));
    engine_.EndText();
    EXPECT_FALSE(engine_.TextOpen());
    EXPECT_GT(CountOf(0xFFFF), 0);
    EXPECT_EQ(engine_.MeasureText(u"Hello"), (platform::Size{0, 0}));
    EXPECT_FALSE(engine_.DrawText(10, 100, u"Hello"));

    // Text goes through the ANSI code page: what it cannot hold is drawn as '?'.
    engine_.BeginText();
    engine_.BeginText();  // already open: no effect
    EXPECT_EQ(engine_.MeasureText(u"\u0E01"), engine_.MeasureText(u"?"));
    EXPECT_EQ(font->HandlesCreated(), 1);
    engine_.EndText();
}

TEST_F(GraphicEngineTest, ANameTooWideIsCutToFitAndEndsInAMark) {
    engine_.BeginText();
    const std::u16string name = u"\u8B66\u5BDF\u6293\u5C0F\u5077 long name of a host \U0001F600\U0001F600";
    const int32_t width = engine_.MeasureText(name).cx;
    EXPECT_EQ(engine_.FittedText(name, width), name);
    for (int32_t narrow : {width - 1, width / 2, 30}) {
        const std::u16string cut = engine_.FittedText(name, narrow);
        EXPECT_EQ(cut.back(), u'\u2026');
        EXPECT_LE(engine_.MeasureText(cut).cx, narrow) << narrow;
        EXPECT_GT(engine_.MeasureText(cut + u"x").cx, narrow - engine_.MeasureText(u"\u8B66").cx);
        EXPECT_FALSE(cut.size() > 1 && cut[cut.size() - 2] >= 0xD800 && cut[cut.size() - 2] <= 0xDBFF);
    }
    engine_.EndText();
}

TEST(GraphicEngineMessagesTest, MissingPackNamesThePathBelowTheProgramFolder) {
    testsupport::TempDir dir;
    const std::string original = platform::ProgramFolder();
    platform::SetProgramFolder(dir.Path());
    std::u16string message;
    EXPECT_EQ(GraphicEngine::OpenPicturePack(message), nullptr);
    EXPECT_EQ(message, u"无法打开资源库" + platform::FromUtf8(dir.Path()) + u"Game/GameRes.DLL");

    std::filesystem::create_directories(dir.Path() + "Game");
    testsupport::ZipWriter zip;
    zip.Add("X.png", std::string("x"));
    ASSERT_TRUE(zip.Write(dir.Path() + "Game/GameRes.DLL"));
    EXPECT_NE(GraphicEngine::OpenPicturePack(message), nullptr);
    EXPECT_TRUE(message.empty());
    platform::SetProgramFolder(original);

    EXPECT_EQ(GraphicEngine::DisplayFailureMessage().substr(0, 11), u"无法初始化图形引擎\r\n");
}

TEST(GraphicEngineMessagesTest, APictureThatCannotBeLoadedIsNamedWithItsPack) {
    testsupport::TempDir dir;
    testsupport::ZipWriter zip;
    zip.Add("BROKEN.png", std::string("not a picture"));
    ASSERT_TRUE(zip.Write(dir.Path() + "GameRes.DLL"));
    const GraphicEngine engine(platform::ResourcePack::Open(dir.Path() + "GameRes.DLL"));
    const std::u16string pack = platform::FromUtf8(dir.Path() + "GameRes.DLL");

    const std::u16string broken = engine.PictureFailureMessage("BROKEN");
    EXPECT_NE(broken.find(u"图片 BROKEN.png 无法解码: " + pack + u"\r\n请重新安装游戏。"), std::u16string::npos);
    EXPECT_NE(engine.PictureFailureMessage("GONE").find(u"图片 GONE.png 不在资源库中: " + pack), std::u16string::npos);
}

TEST(GraphicEngineMessagesTest, LoadsPicturesByNameWithoutKey) {
    testsupport::TempDir dir;
    auto art = Surface::Create(3, 2);
    art->Fill(Rect{}, 1000);
    ASSERT_TRUE(platform::SavePng(*art, dir.Path() + "art.png"));
    std::ifstream in(dir.Path() + "art.png", std::ios::binary);
    testsupport::ZipWriter zip;
    zip.Add("POLICE_START.png", std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
    ASSERT_TRUE(zip.Write(dir.Path() + "GameRes.DLL"));

    GraphicEngine engine(platform::ResourcePack::Open(dir.Path() + "GameRes.DLL"));
    ASSERT_TRUE(engine.Init(nullptr));
    SurfacePtr picture;
    ASSERT_TRUE(engine.LoadPicture(picture, "POLICE_START"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->ReadPixel(2, 1), 1000);
    EXPECT_FALSE(picture->HasColorKey());
}

// Pack pictures are decoded when first drawn: the pixels must be those of a picture decoded at
// once, keyed or not, however the first use reaches them.
TEST(GraphicEngineMessagesTest, PicturesDecodedOnFirstUseMatchPicturesDecodedAtOnce) {
    const std::string packPath = std::string{GLYPHOR_DIST_DIR} + "/Game/GameRes.DLL";
    const auto eagerPack = platform::ResourcePack::Open(packPath);
    ASSERT_NE(eagerPack, nullptr);
    GraphicEngine engine(platform::ResourcePack::Open(packPath));
    ASSERT_TRUE(engine.Init(nullptr));
    for (const std::string name : {"MAIN_ICON", "NAME_DLG_BG", "SLIDER_SLIDER", "CHECKBOX_BUTTON"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(eagerPack->Read(name + ".png", bytes));
        const SurfacePtr eager = platform::LoadPng(bytes);
        SurfacePtr lazy;
        ASSERT_TRUE(engine.LoadPicture(lazy, name));
        ASSERT_NE(eager, nullptr);
        ASSERT_NE(lazy, nullptr);
        EXPECT_FALSE(lazy->Decoded());
        ASSERT_EQ(lazy->Width(), eager->Width());
        ASSERT_EQ(lazy->Height(), eager->Height());

        // First use through a keyed draw onto the back surface, then every pixel directly.
        const uint16_t key = eager->ReadPixel(0, 0);
        lazy->SetColorKey(key);
        eager->SetColorKey(key);
        Surface& back = engine.BackSurface();
        back.Fill(Rect{}, 0x0841);
        ASSERT_TRUE(engine.DrawKeyed(0, 0, *lazy, Rect{}));
        const SurfacePtr drawnLazy = back.Clone();
        back.Fill(Rect{}, 0x0841);
        ASSERT_TRUE(engine.DrawKeyed(0, 0, *eager, Rect{}));
        int differing = 0;
        for (int32_t y = 0; y < back.Height(); ++y) {
            for (int32_t x = 0; x < back.Width(); ++x) differing += back.ReadPixel(x, y) != drawnLazy->ReadPixel(x, y);
        }
        EXPECT_EQ(differing, 0);
        for (int32_t y = 0; y < eager->Height(); ++y) {
            for (int32_t x = 0; x < eager->Width(); ++x) differing += lazy->ReadPixel(x, y) != eager->ReadPixel(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
}

// The first screen's pictures are decoded on a helper thread while the window opens. Each
// decoded picture is handed out once: a picture loaded again (a screen that comes back) is
// decoded from the pack, by its first draw or in idle time, and a name the pack lacks holds up
// none of the others.
TEST(GraphicEngineMessagesTest, PicturesDecodedAheadMatchThePackEachTimeTheyAreLoaded) {
    const std::string packPath = std::string{GLYPHOR_DIST_DIR} + "/Game/GameRes.DLL";
    const auto eagerPack = platform::ResourcePack::Open(packPath);
    ASSERT_NE(eagerPack, nullptr);
    GraphicEngine engine(platform::ResourcePack::Open(packPath));
    ASSERT_TRUE(engine.Init(nullptr));
    engine.DecodeAhead({"NO_SUCH_PICTURE", "MAIN_ICON", "NAME_DLG_BG"});
    for (const std::string name : {"MAIN_ICON", "NAME_DLG_BG"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(eagerPack->Read(name + ".png", bytes));
        const SurfacePtr eager = platform::LoadPng(bytes);
        ASSERT_NE(eager, nullptr);
        SurfacePtr first;
        SurfacePtr again;
        ASSERT_TRUE(engine.LoadPicture(first, name));
        ASSERT_TRUE(engine.LoadPicture(again, name));
        ASSERT_NE(first->Pixels(), nullptr);  // its first draw
        EXPECT_TRUE(engine.DecodeWhileIdle(platform::Clock::Now() + 10000));
        ASSERT_TRUE(again->Decoded());
        int differing = 0;
        for (int32_t y = 0; y < eager->Height(); ++y) {
            for (int32_t x = 0; x < eager->Width(); ++x) {
                differing += first->ReadPixel(x, y) != eager->ReadPixel(x, y);
                differing += again->ReadPixel(x, y) != eager->ReadPixel(x, y);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

// A picture whose header reads well but whose pixels do not decode passes the load and idle-time
// decoding and, at its first draw, shows the picture-failure message and ends the program
// instead of drawing garbage.
TEST(GraphicEngineMessagesTest, ADamagedPictureIsReportedWhenFirstDrawn) {
    struct ProgramEnded {};
    testsupport::TempDir dir;
    auto art = Surface::Create(40, 30);
    art->Fill(Rect{}, 1000);
    ASSERT_TRUE(platform::SavePng(*art, dir.Path() + "art.png"));
    std::ifstream in(dir.Path() + "art.png", std::ios::binary);
    std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(bytes.size(), 60u);
    std::vector<uint8_t> damaged(bytes.begin(), bytes.begin() + 60);
    damaged.resize(bytes.size(), 0x5A);
    testsupport::ZipWriter zip;
    zip.Add("GOOD.png", bytes);
    zip.Add("BAD.png", damaged);
    ASSERT_TRUE(zip.Write(dir.Path() + "GameRes.DLL"));

    GraphicEngine engine(platform::ResourcePack::Open(dir.Path() + "GameRes.DLL"));
    ASSERT_TRUE(engine.Init(nullptr));
    SurfacePtr good;
    SurfacePtr bad;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(engine.LoadPicture(bad, "BAD"));
    ASSERT_TRUE(engine.LoadPicture(good, "GOOD"));
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->Width(), 40);
    // Idle time decodes nothing once the deadline is near; with time to spare it decodes the
    // good picture, passes over the damaged one without a word and leaves it for its first draw.
    engine.DecodeWhileIdle(platform::Clock::Now());
    EXPECT_FALSE(good->Decoded());
    engine.DecodeWhileIdle(platform::Clock::Now() + 10000);
    EXPECT_TRUE(good->Decoded());
    EXPECT_FALSE(bad->Decoded());
    EXPECT_EQ(good->ReadPixel(39, 29), 1000);
    ASSERT_TRUE(engine.DrawOpaque(0, 0, *good, Rect{}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    SetShutdownExitHook([] { throw ProgramEnded{}; });
    testing::internal::CaptureStderr();
    bool ended = false;
    try {
        engine.DrawOpaque(100, 100, *bad, Rect{});
    } catch (const ProgramEnded&) {
        ended = true;
    }
    SetShutdownExitHook(nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ended);
    std::string message = platform::ToUtf8(engine.PictureFailureMessage("BAD"));
    std::erase(message, '\r');
    EXPECT_NE(said.find(message), std::string::npos) << said;
}

TEST(GraphicEnginePresentTest, PresentsChangesAndPresentsAgainAfterRestore) {
    GraphicEngine headless(nullptr);
    ASSERT_TRUE(headless.Init(nullptr));
    EXPECT_TRUE(headless.Present());
    EXPECT_FALSE(headless.IsLost());

    auto display = platform::Display::CreateWindow("打字游戏");
    ASSERT_NE(display, nullptr);
    GraphicEngine engine(nullptr);
    ASSERT_TRUE(engine.Init(display.get()));
    display->Show();
    EXPECT_FALSE(engine.IsLost());
    engine.Clear(0x1234);
    ASSERT_TRUE(engine.Present());
    ASSERT_TRUE(engine.Present());
    EXPECT_EQ(display->UploadCount(), 1u);
    EXPECT_EQ(display->LastPresented()->ReadPixel(400, 300), 0x1234);
    ASSERT_TRUE(engine.RestoreSurfaces());
    ASSERT_TRUE(engine.Present());
    EXPECT_EQ(display->UploadCount(), 2u);
}

}  // namespace
