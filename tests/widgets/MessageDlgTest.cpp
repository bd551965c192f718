#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/FrameLoop.h"
#include "shell/KeyboardLayouts.h"
#include "tests/widgets/WidgetWorld.h"
#include "widgets/AniButton.h"
#include "widgets/ModalLoop.h"
#include "widgets/MessageDlg.h"

using namespace widgettest;
using namespace platform;

namespace {

constexpr int32_t kX = 240, kY = 212;
// Points inside the three buttons.
constexpr int32_t kReplayX = kX + 34 + 10, kNextX = kX + 124 + 10, kEndX = kX + 214 + 10;
constexpr int32_t kButtonY = kY + 130 + 10;

std::shared_ptr<MessageDlg> QuitDialog() {
    EnsureWorld();
    auto dlg = MessageDlg::Create();
    dlg->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
    return dlg;
}

int32_t ShowWith(Driver&, bool showNext) {
    return QuitDialog()->Show(u"你真的要退出吗？", kX, kY, showNext);
}

TEST(MessageDlgKeys, KeysAnswerWithoutReachingTheScreen) {
    struct Case { uint32_t key; bool showNext; int32_t answer; };
    for (Case c : {Case{VK_ESCAPE, false, 2}, Case{VK_RETURN, false, 1}, Case{VK_SPACE, true, 0},
                   Case{VK_SPACE, false, 1}, Case{VK_RETURN, true, 1}}) {
        Driver driver;
        driver.Post({KeyDownMsg('A', {'a'}), KeyDownMsg(c.key, {c.key})});
        EXPECT_EQ(ShowWith(driver, c.showNext), c.answer) << "key " << c.key;
        // Key-down messages are not translated: no character reaches the screen behind.
        EXPECT_EQ(driver.Screen().keyPresses, 0);
        EXPECT_EQ(driver.Screen().keyDowns, 0);
        EXPECT_FALSE(driver.gaveUp);
    }
}

TEST(MessageDlgKeys, OtherMessagesStillReachTheWindowProcedure) {
    Driver driver;
    driver.Post({Msg(WM_KEYUP, 'A'), Msg(WM_IME_CHAR, 0xB0A1)}).Frame().Key(VK_ESCAPE);
    EXPECT_EQ(ShowWith(driver, false), 2);
    EXPECT_EQ(driver.Screen().keyPresses, 1);
    EXPECT_GE(driver.Screen().keyUps, 1);
}

TEST(MessageDlgMouse, ClickingAButtonAnswers) {
    struct Case { int32_t x; bool showNext; int32_t answer; };
    for (Case c : {Case{kReplayX, false, 1}, Case{kEndX, false, 2}, Case{kNextX, true, 0}}) {
        Driver driver;
        driver.Click(c.x, kButtonY);
        EXPECT_EQ(ShowWith(driver, c.showNext), c.answer);
        EXPECT_EQ(driver.Screen().mouseDowns + driver.Screen().mouseUps, 0);
        EXPECT_FALSE(driver.gaveUp);
    }
}

TEST(MessageDlgMouse, HiddenNextButtonIsNotClickable) {
    Driver driver;
    driver.Click(kNextX, kButtonY).Frame().Key(VK_ESCAPE);
    EXPECT_EQ(ShowWith(driver, false), 2);
}

TEST(MessageDlgMouse, RightClicksAreDropped) {
    Driver driver;
    driver.Post({Mouse(WM_MOUSEMOVE, kReplayX, kButtonY), Msg(WM_RBUTTONDOWN, 2, Message::MakeLParam(kReplayX, kButtonY)),
                 Msg(WM_RBUTTONUP, 0, Message::MakeLParam(kReplayX, kButtonY))})
        .Frame()
        .Key(VK_ESCAPE);
    EXPECT_EQ(ShowWith(driver, false), 2);
    EXPECT_EQ(driver.Screen().mouseDowns + driver.Screen().mouseUps, 0);
}

TEST(MessageDlgMouse, PressOnOneButtonReleaseOnAnotherChoosesNothing) {
    Driver driver;
    driver.Post({Mouse(WM_MOUSEMOVE, kReplayX, kButtonY), Mouse(WM_LBUTTONDOWN, kReplayX, kButtonY),
                 Mouse(WM_MOUSEMOVE, kEndX, kButtonY), Mouse(WM_LBUTTONUP, kEndX, kButtonY)})
        .Frame()
        .Key(VK_SPACE);
    EXPECT_EQ(ShowWith(driver, false), 1);  // from the key, not the mouse
}

TEST(MessageDlgFrame, DrawsScreenDialogTextAndButtons) {
    for (bool showNext : {false, true}) {
        Driver driver;
        std::vector<uint16_t> seen;
        driver.Post({Mouse(WM_MOUSEMOVE, kEndX, kButtonY)}).Frame().Then([&] {
            seen = {BackPixel(10, 10), BackPixel(kX, kY), BackPixel(kX + 34, kY + 130),
                    BackPixel(kX + 124, kY + 130), BackPixel(kX + 214, kY + 130)};
        }).Key(VK_ESCAPE);
        ShowWith(driver, showNext);
        ASSERT_EQ(seen.size(), 5u);
        EXPECT_EQ(seen[0], kScreenColour);
        EXPECT_EQ(seen[1], kDialogColour);
        EXPECT_EQ(seen[2], kFrameColour[0]);
        EXPECT_EQ(seen[3], showNext ? kFrameColour[0] : kDialogColour);
        EXPECT_EQ(seen[4], kFrameColour[1]);  // hovered
    }
}

TEST(MessageDlgFrame, DialogWithoutBackgroundDrawsNothing) {
    Driver driver;
    driver.Frame().Frame().Key(VK_RETURN);
    EnsureWorld();
    EXPECT_EQ(MessageDlg::Create()->Show(u"?", kX, kY, false), 1);
    EXPECT_EQ(driver.Screen().frames, 0);
}

TEST(MessageDlgFrame, FramesArePacedAndTheMainLoopMeasuresFromTheLastOne) {
    Driver driver;
    for (int i = 0; i < 5; ++i) driver.Frame();
    driver.Key(VK_ESCAPE);
    ShowWith(driver, false);
    const auto& times = driver.Screen().frameTimes;
    ASSERT_EQ(times.size(), 6u);
    EXPECT_EQ(times.front(), Driver::kStart);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], kDialogFrameInterval);
    // Between frames the loop waited for the next deadline instead of spinning.
    EXPECT_EQ(driver.deadlines.size(), 6u);
    EXPECT_EQ(driver.deadlines.front(), Driver::kStart + kDialogFrameInterval);
    EXPECT_EQ(static_cast<uint32_t>(g_LastFrameTime), times.back());

    // The first frame after the dialog counts from the dialog's last frame.
    Clock::AdvanceTo(times.back() + 18);
    EXPECT_FALSE(FrameTick());
    Clock::AdvanceTo(times.back() + 20);
    EXPECT_TRUE(FrameTick());
    EXPECT_EQ(g_FrameElapsed, 20);
}

TEST(MessageDlgLoopDeathTest, QuitEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Driver driver;
            driver.Post({Msg(WM_QUIT)});
            QuitDialog()->Show(u"?", kX, kY, false);
            std::fprintf(stderr, "dialog returned");
            std::abort();
        },
        [](int status) { return WIFEXITED(status); }, "");
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

TEST(MessageDlgLoop, ShowSwitchesAwayFromAnInputMethod) {
    auto layouts = std::make_shared<FakeLayouts>();
    SetKeyboardLayouts(layouts);
    Driver driver;
    driver.Key(VK_RETURN);
    ShowWith(driver, false);
    SetKeyboardLayouts(nullptr);
    EXPECT_EQ(layouts->activated, std::vector<std::string>{"00000409"});
}

}  // namespace
