#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/FrameLoop.h"
#include "shell/KeyboardLayouts.h"
#include "shell/MessageDlg.h"
#include "shell/ModalLoop.h"
#include "tests/widgets/WidgetWorld.h"

using namespace widgettest;
using namespace platform;

namespace {

constexpr int32_t kX = 240, kY = 212;
// Points inside the three buttons.
constexpr int32_t kReplayX = kX + 34 + 10, kNextX = kX + 124 + 10, kEndX = kX + 214 + 10;
constexpr int32_t kButtonY = kY + 130 + 10;

int32_t ShowQuit(bool showNext) {
    EnsureWorld();
    auto dlg = MessageDlg::Create();
    dlg->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
    return dlg->Show(u"你真的要退出吗？", kX, kY, showNext);
}

TEST(MessageDlg, KeysAnswerWithoutReachingTheScreen) {
    struct Case {
        uint32_t key;
        bool showNext;
        int32_t answer;
    };
    for (Case c :
         {Case{VK_ESCAPE, false, 2}, Case{VK_RETURN, true, 1}, Case{VK_SPACE, true, 0}, Case{VK_SPACE, false, 1}}) {
        Driver driver;
        driver.Post({KeyDownMsg('A', {'a'}), KeyDownMsg(c.key, {c.key})});
        EXPECT_EQ(ShowQuit(c.showNext), c.answer) << "key " << c.key;
        // Key-down messages are not translated: no character reaches the screen behind.
        EXPECT_EQ(driver.Screen().keyPresses + driver.Screen().keyDowns, 0);
    }
    // What the dialog does not take goes to the window procedure, but no character or wheel turn
    // reaches the frozen game behind it (an input method's text, the number pad's +).
    Driver driver;
    driver.Post({Msg(WM_KEYUP, 'A'), Msg(WM_IME_CHAR, 0xB0A1), Msg(WM_CHAR, '+'), Msg(WM_MOUSEWHEEL, 120u << 16)})
        .Frame()
        .Key(VK_ESCAPE);
    EXPECT_EQ(ShowQuit(false), 2);
    EXPECT_EQ(driver.Screen().keyPresses, 0);
    EXPECT_GE(driver.Screen().keyUps, 1);
}

TEST(MessageDlg, MouseChoosesAndRightClicksAreDropped) {
    struct Case {
        int32_t x;
        bool showNext;
        int32_t answer;
    };
    for (Case c : {Case{kReplayX, false, 1}, Case{kEndX, false, 2}, Case{kNextX, true, 0},
                   Case{kNextX, false, 2}}) {  // a hidden next button is not clickable: Esc answers
        Driver driver;
        driver.Click(c.x, kButtonY).Frame().Key(VK_ESCAPE);
        EXPECT_EQ(ShowQuit(c.showNext), c.answer);
        EXPECT_EQ(driver.Screen().mouseButtons, 0);
    }
    Driver driver;
    auto at = Message::MakeLParam(kReplayX, kButtonY);
    driver.Post({Mouse(WM_MOUSEMOVE, kReplayX, kButtonY), Msg(WM_RBUTTONDOWN, 2, at), Msg(WM_RBUTTONUP, 0, at)})
        .Frame()
        .Key(VK_ESCAPE);
    EXPECT_EQ(ShowQuit(false), 2);
    EXPECT_EQ(driver.Screen().mouseButtons, 0);
}

TEST(MessageDlg, FrameDrawsScreenDialogAndButtons) {
    for (bool showNext : {false, true}) {
        Driver driver;
        std::vector<uint16_t> seen;
        driver.Post({Mouse(WM_MOUSEMOVE, kEndX, kButtonY)})
            .Frame()
            .Then([&] {
                seen = {BackPixel(10, 10), BackPixel(kX, kY), BackPixel(kX + 34, kY + 130),
                        BackPixel(kX + 124, kY + 130), BackPixel(kX + 214, kY + 130)};
            })
            .Key(VK_ESCAPE);
        ShowQuit(showNext);
        EXPECT_EQ(seen, (std::vector<uint16_t>{kScreenColour, kDialogColour, kFrameColour[0],
                                               showNext ? kFrameColour[0] : kDialogColour, kFrameColour[1]}));
    }
}

// A dialog draws its first frame, then nothing until a message comes: it sleeps a second at a
// time instead of drawing the same picture every 19 ms. The screen behind goes on one frame after
// the dialog closed: the seconds in it are neither the game's nor time lost, however long the
// dialog stood still.
TEST(MessageDlg, DrawsOnlyAfterMessagesAndTheScreenBehindGoesOnOneFrameAfterTheClose) {
    Driver driver;
    for (int i = 0; i < 5; ++i) driver.Frame();
    driver.Post({Mouse(WM_MOUSEMOVE, 10, 10)});
    for (int i = 0; i < 4; ++i) driver.Frame();
    driver.Key(VK_ESCAPE);
    ShowQuit(false);
    const auto& times = driver.Screen().frameTimes;
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[0], Driver::kStart);
    EXPECT_EQ(times[1], Driver::kStart + 5000) << "drawn once the pointer moved, after five still seconds";
    EXPECT_EQ(driver.deadlines[1] - driver.deadlines[0], 1000u);
    ASSERT_EQ(Clock::Now(), times.back() + 4000);

    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(g_FrameElapsed, 19);
    EXPECT_EQ(driver.Screen().timeLost, 0);
}

class FakeLayouts : public KeyboardLayouts {
public:
    std::vector<std::string> activated;
    std::string Current() override { return "E0010804"; }
    bool IsInputMethod(const std::string& layout) override { return layout == "E0010804"; }
    void Load(const std::string&, unsigned) override {}
    std::vector<std::string> List(size_t) override { return {"00000409", "E0010804"}; }
    void Activate(const std::string& layout, unsigned) override { activated.push_back(layout); }
};

TEST(MessageDlg, ShowSwitchesAwayFromAnInputMethod) {
    auto layouts = std::make_shared<FakeLayouts>();
    SetKeyboardLayouts(layouts);
    Driver driver;
    driver.Key(VK_RETURN);
    ShowQuit(false);
    SetKeyboardLayouts(nullptr);
    EXPECT_EQ(layouts->activated, std::vector<std::string>{"00000409"});
}

// The program's end answers the dialog "end" (no new round) and stays queued for the frame
// loop, so that the code behind the dialog finishes before the program ends.
TEST(MessageDlg, QuitAnswersEndAndStaysQueuedForTheFrameLoop) {
    Driver driver;
    driver.Post({Msg(WM_QUIT)});
    EXPECT_EQ(ShowQuit(true), MessageDlg::kEnd);
    platform::Message left;
    ASSERT_TRUE(platform::MessageQueue::Instance().Peek(left, true));
    EXPECT_EQ(left.message, WM_QUIT);
}

}  // namespace
