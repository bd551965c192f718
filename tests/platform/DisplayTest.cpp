#include "platform/Display.h"

#include <SDL.h>
#include <gtest/gtest.h>

using platform::Display;
using platform::Rect;
using platform::Surface;

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

}  // namespace
