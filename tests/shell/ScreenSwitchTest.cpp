#include <gtest/gtest.h>

#include <stdexcept>

#include "ShellTestSupport.h"

namespace shelltest {
namespace {

struct Observed {
    bool destroyed = false;
    bool aliveAfterSwitch = false;
    bool handlerReturned = false;
};

// A screen that hands over to the next one from inside its click handler and then keeps
// using itself.
class HandingOverScreen : public RecordingScreen {
public:
    explicit HandingOverScreen(Observed* seen) : seen_(seen) {}
    ~HandingOverScreen() override {
        seen_->destroyed = true;
        // Its clean-up runs only after the handler has returned.
        EXPECT_TRUE(seen_->handlerReturned);
    }

    bool MouseUp(int32_t b, int32_t x, int32_t y) override {
        RecordingScreen::MouseUp(b, x, y);
        MakeCurrentScreen(std::make_shared<RecordingScreen>());
        calls.push_back("after switch");  // touches its own members
        seen_->aliveAfterSwitch = !seen_->destroyed;
        seen_->handlerReturned = true;
        return true;
    }

private:
    Observed* seen_;
};

class ScreenSwitchTest : public ShellTest {};

TEST_F(ScreenSwitchTest, AScreenSwitchingInsideItsHandlerLivesUntilTheHandlerReturns) {
    Observed seen;
    MakeCurrentScreen(std::make_shared<HandingOverScreen>(&seen));
    screen.reset();

    platform::Message up;
    up.message = platform::WM_LBUTTONUP;
    up.lParam = platform::Message::MakeLParam(5, 6);
    WindowProc(up);

    EXPECT_TRUE(seen.aliveAfterSwitch);
    EXPECT_TRUE(seen.destroyed);  // released once the handler had returned

    auto next = std::dynamic_pointer_cast<RecordingScreen>(g_Screen);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->calls, std::vector<std::string>{"Run"});

    // The next frame drives the new screen: game state before anything of it is drawn.
    platform::Clock::UseVirtual(1000);
    StartFrameClock();
    ASSERT_TRUE(FrameTick());
    EXPECT_EQ(next->calls, (std::vector<std::string>{"Run", "UpDateGame", "UpDateScreen"}));
}

// Failures raised by a screen's input handler are ignored; the message counts as handled.
class ThrowingScreen : public RecordingScreen {
public:
    bool KeyDown(int32_t, int32_t) override { throw std::runtime_error("handler failed"); }
};

TEST_F(ScreenSwitchTest, AFailingHandlerIsIgnored) {
    g_Screen = std::make_shared<ThrowingScreen>();
    platform::Message down;
    down.message = platform::WM_KEYDOWN;
    down.wParam = 65;
    EXPECT_NO_THROW(WindowProc(down));
}

}  // namespace
}  // namespace shelltest
