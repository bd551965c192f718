#include "platform/Display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/SurfacePresenter.h"

using platform::Display;
using platform::Rect;
using platform::Surface;
using platform::SurfacePresenter;

namespace {

TEST(DisplayTest, PresentsOnlyWhatChangedUnlessForced) {
    auto display = Display::CreateWindow("打字游戏");
    ASSERT_NE(display, nullptr) << SDL_GetError();
    EXPECT_EQ(Display::Current(), display.get());
    EXPECT_STREQ(SDL_GetWindowTitle(display->SdlWindow()), "打字游戏");
    EXPECT_TRUE(SDL_GetWindowFlags(display->SdlWindow()) & SDL_WINDOW_BORDERLESS);
    ASSERT_TRUE(display->InitRenderer()) << SDL_GetError();
    // Hidden until shown: a hidden window is a lost display.
    EXPECT_TRUE(display->IsLost());
    auto back = Surface::Create(Display::kWidth, Display::kHeight);
    EXPECT_FALSE(display->Present(*back));
    display->Show();
    EXPECT_FALSE(display->IsLost());

    EXPECT_EQ(display->LastPresented(), nullptr);
    back->Fill(Rect{10, 10, 20, 20}, 0x1234);
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 1u);
    ASSERT_NE(display->LastPresented(), nullptr);
    EXPECT_EQ(display->LastPresented()->ReadPixel(15, 15), 0x1234);

    // Unchanged: skipped. Changed: uploaded.
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 1u);
    back->Fill(Rect{799, 599, 800, 600}, 1);
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 2u);
    EXPECT_EQ(display->LastPresented()->ReadPixel(799, 599), 1);

    // Restore recreates the texture and forces the next present.
    ASSERT_TRUE(display->Restore());
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 3u);

    // An exposed window is drawn again too.
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.windowID = SDL_GetWindowID(display->SdlWindow());
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    Display::DispatchWindowEvent(&exposed);
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 4u);

    // A render reset makes the display lost until restored.
    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    display->HandleEvent(reset);
    EXPECT_TRUE(display->IsLost());
    EXPECT_FALSE(display->Present(*back));
    ASSERT_TRUE(display->Restore());
    EXPECT_FALSE(display->IsLost());
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->UploadCount(), 5u);

    // Wrong-sized surfaces are refused.
    auto small = Surface::Create(10, 10);
    EXPECT_FALSE(display->Present(*small));

    display.reset();
    EXPECT_EQ(Display::Current(), nullptr);
}

// A shown window that presents, and a back surface of the screen's size.
class ShownDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        display = Display::CreateWindow("打字游戏");
        ASSERT_NE(display, nullptr) << SDL_GetError();
        ASSERT_TRUE(display->InitRenderer()) << SDL_GetError();
        display->Show();
    }
    std::unique_ptr<Display> display;
    platform::SurfacePtr back = Surface::Create(Display::kWidth, Display::kHeight);
};

TEST_F(ShownDisplayTest, AnAllChangedFrameIsKeptByTradingPixelsWithTheBackSurface) {
    back->Fill(Rect{}, 0x1111);
    ASSERT_TRUE(display->PresentBack(*back));
    back->Fill(Rect{}, 0x2222);
    display->MarkChangedAround(Rect{});
    ASSERT_TRUE(display->PresentBack(*back));
    // The kept picture is the frame just presented; the back surface holds the one before.
    EXPECT_EQ(display->LastPresented()->ReadPixel(400, 300), 0x2222);
    EXPECT_EQ(back->ReadPixel(400, 300), 0x1111);
    // The next frame is compared with what is on screen, not with the back surface's old pixels.
    back->Fill(Rect{}, 0x2222);
    back->Fill(Rect{0, 0, 1, 1}, 0x3333);
    ASSERT_TRUE(display->PresentBack(*back));
    EXPECT_EQ(display->UploadCount(), 3u);
    EXPECT_EQ(display->LastPresented()->ReadPixel(0, 0), 0x3333);
    EXPECT_EQ(display->LastPresented()->ReadPixel(400, 300), 0x2222);
    // A plain present copies: the surface it was given keeps its pixels.
    display->MarkChangedAround(Rect{});
    back->Fill(Rect{}, 0x4444);
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(back->ReadPixel(400, 300), 0x4444);
    EXPECT_EQ(display->LastPresented()->ReadPixel(400, 300), 0x4444);
}

TEST_F(ShownDisplayTest, AroundAStillPartEverythingIsSentButOnlyWhatChangedInsideIt) {
    back->Fill(Rect{}, 0x1111);
    ASSERT_TRUE(display->PresentBack(*back));
    // Marks written straight into the window's framebuffer show which pixels the next present
    // sends: a sent pixel is overwritten from the back surface.
    SDL_Surface* frame = SDL_GetWindowSurface(display->SdlWindow());
    ASSERT_NE(frame, nullptr);
    auto framePixel = [frame](int x, int y) -> uint32_t& {
        return static_cast<uint32_t*>(frame->pixels)[static_cast<size_t>(y) * (frame->pitch / 4) + x];
    };
    const uint32_t mark = 0x00ABCDEF;
    const Rect still{40, 513, 760, 592};
    for (auto [x, y] : {std::pair{400, 100}, {20, 550}, {400, 520}, {700, 580}}) framePixel(x, y) = mark;
    // The map scrolled: all of it is drawn again, even where it came out the same. One letter
    // inside the still part changed.
    back->Fill(Rect{0, 0, Display::kWidth, 500}, 0x2222);
    back->Fill(Rect{100, 560, 110, 570}, 0x3333);
    display->MarkChangedAround(still);
    ASSERT_TRUE(display->PresentBack(*back));
    EXPECT_NE(framePixel(400, 100), mark);
    EXPECT_NE(framePixel(20, 550), mark) << "outside the still part, unchanged pixels are sent too";
    EXPECT_EQ(framePixel(400, 520), mark) << "inside it, unchanged pixels are not sent";
    EXPECT_NE(framePixel(105, 565), framePixel(105, 530));
    EXPECT_EQ(framePixel(700, 580), mark) << "the letter's rectangle ends at its last column";
    EXPECT_EQ(display->LastPresented()->ReadPixel(105, 565), 0x3333);
    EXPECT_EQ(display->LastPresented()->ReadPixel(400, 100), 0x2222);
}

TEST_F(ShownDisplayTest, WithoutAGpuPresentsThroughTheWindowFramebufferWithoutLoadingOpenGl) {
    back->Fill(Rect{}, 0xF800);
    ASSERT_TRUE(display->Present(*back));
    EXPECT_EQ(display->RendererName(), "surface");
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    for (const char* library : {"libGL", "libEGL", "libgallium", "swrast_dri", "libLLVM"})
        EXPECT_EQ(text.str().find(library), std::string::npos) << library;
}

uint32_t FramePixel(SDL_Surface* frame, int32_t x, int32_t y) {
    const auto* row = static_cast<const uint8_t*>(frame->pixels) + static_cast<size_t>(y) * frame->pitch;
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[x], frame->format, &r, &g, &b);
    return (static_cast<uint32_t>(r) << 16) | (g << 8) | b;
}

TEST(DisplayTest, TheFramebufferPathLetterboxesAndRedrawsOnlyWhatChanged) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("wide", 0, 0, 1280, 800, SDL_WINDOW_BORDERLESS);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    {
        auto presenter = SurfacePresenter::Create(window);
        ASSERT_NE(presenter, nullptr) << SDL_GetError();
        auto back = Surface::Create(Display::kWidth, Display::kHeight);
        back->Fill(Rect{}, 0xF800);
        ASSERT_TRUE(presenter->Present(*back, {}, true));
        SDL_Surface* frame = SDL_GetWindowSurface(window);
        ASSERT_EQ(frame->format->BytesPerPixel, 4);
        // 800x600 scaled to 1066x800, centred: bars of 107 columns left and right.
        EXPECT_EQ(FramePixel(frame, 0, 0), 0u);
        EXPECT_EQ(FramePixel(frame, 106, 400), 0u);
        EXPECT_EQ(FramePixel(frame, 107, 400), 0xFF0000u);
        EXPECT_EQ(FramePixel(frame, 1172, 799), 0xFF0000u);
        EXPECT_EQ(FramePixel(frame, 1173, 400), 0u);

        // Only the named rectangle is drawn: a change elsewhere stays unseen until listed.
        back->Fill(Rect{0, 0, 10, 10}, 0x001F);
        back->Fill(Rect{790, 590, 800, 600}, 0x07E0);
        ASSERT_TRUE(presenter->Present(*back, {Rect{0, 0, 10, 10}}, false));
        EXPECT_EQ(FramePixel(frame, 107, 0), 0x0000FFu);
        EXPECT_EQ(FramePixel(frame, 1172, 799), 0xFF0000u);
        ASSERT_TRUE(presenter->Present(*back, {Rect{790, 590, 800, 600}}, false));
        EXPECT_EQ(FramePixel(frame, 1172, 799), 0x00FF00u);

        // Pointer positions come back onto the 800x600 screen; the bars clamp to its edges.
        int32_t x = 640, y = 400;
        presenter->MapPointer(x, y);
        EXPECT_EQ(x, 400);
        EXPECT_EQ(y, 300);
        x = 1279;
        presenter->MapPointer(x, y);
        EXPECT_EQ(x, 799);

        // A 1024x600 screen shows the picture unscaled between bars of 112 columns: a pointer
        // still moves by the bar.
        SDL_SetWindowSize(window, 1024, 600);
        ASSERT_TRUE(presenter->Present(*back, {}, true));
        x = 112 + 145;
        y = 30;
        presenter->MapPointer(x, y);
        EXPECT_EQ(x, 145);
        EXPECT_EQ(y, 30);

        // A whole picture blackens the bars again, above and below as well as at the sides,
        // whatever was in them.
        SDL_SetWindowSize(window, 800, 800);
        ASSERT_TRUE(presenter->Present(*back, {}, true));
        frame = SDL_GetWindowSurface(window);
        SDL_FillRect(frame, nullptr, 0xFFFFFFu);
        ASSERT_TRUE(presenter->Present(*back, {}, true));
        EXPECT_EQ(FramePixel(frame, 0, 0), 0u);
        EXPECT_EQ(FramePixel(frame, 799, 99), 0u);
        EXPECT_EQ(FramePixel(frame, 400, 100), 0xFF0000u);
        EXPECT_EQ(FramePixel(frame, 400, 699), 0xFF0000u);
        EXPECT_EQ(FramePixel(frame, 0, 700), 0u);

        // A window too narrow for any picture draws nothing, and the copy made for the last size
        // never writes into its framebuffer.
        SDL_SetWindowSize(window, 1, 600);
        presenter->Present(*back, {}, true);
        presenter->Present(*back, {Rect{0, 0, 10, 10}}, false);
        SDL_SetWindowSize(window, 1280, 800);
        ASSERT_TRUE(presenter->Present(*back, {}, true));
        EXPECT_EQ(FramePixel(SDL_GetWindowSurface(window), 1172, 799), 0x00FF00u);
    }
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
