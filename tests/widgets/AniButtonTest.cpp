#include <gtest/gtest.h>

#include <memory>

#include "shell/MessageDlg.h"
#include "tests/widgets/WidgetWorld.h"
#include "widgets/AniButton.h"

using namespace widgettest;

namespace {

// A 3-frame button of 40x20 at (100, 100); columns 30..39 of every frame hold the raw value 1000.
class AniButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorld();
        button = AniButton::Create();
        button->SetPicture("BTN3", 3, false);
        button->Left = button->Top = 100;
        button->OnEnter = [this] { ++enters; };
        button->OnLeave = [this] { ++leaves; };
        button->OnClick = [this] {
            ++clicks;
            offsetAtClick = button->FrameOffset();
        };
    }
    std::shared_ptr<AniButton> button;
    int enters = 0, leaves = 0, clicks = 0;
    int32_t offsetAtClick = -1;
};

TEST_F(AniButtonTest, EnterAndLeaveOnceAndTheEdgeColumnsAreOutside) {
    for (auto [x, y] : {std::pair{100, 110}, {110, 100}, {140, 110}, {110, 120}}) button->MouseMove(x, y);
    EXPECT_EQ(enters, 0);
    button->MouseMove(101, 101);
    button->MouseMove(139, 119);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(button->FrameOffset(), kButtonWidth);
    button->MouseMove(100, 110);
    button->MouseMove(300, 300);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(button->FrameOffset(), 0);
}

TEST_F(AniButtonTest, LeavingWhilePressedCancelsTheClickUntilThePointerComesBack) {
    button->MouseMove(110, 110);
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    EXPECT_EQ(button->FrameOffset(), 2 * kButtonWidth);
    button->MouseMove(300, 300);
    EXPECT_FALSE(button->MouseUp(1, 300, 300));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(leaves, 1);

    button->MouseMove(110, 110);
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    button->MouseMove(300, 300);
    button->MouseMove(115, 115);
    EXPECT_EQ(button->FrameOffset(), 2 * kButtonWidth);
    EXPECT_EQ(enters, 2);  // coming back while pressed is no new enter
    EXPECT_TRUE(button->MouseUp(1, 115, 115));
    EXPECT_EQ(clicks, 1);
}

TEST_F(AniButtonTest, ClickFollowsTheNormalFrameAndNeedsAMoveInsideFirst) {
    EXPECT_FALSE(button->MouseDown(1, 110, 110));
    button->MouseMove(110, 110);
    EXPECT_FALSE(button->MouseDown(2, 110, 110));
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    ASSERT_TRUE(button->MouseUp(1, 110, 110));
    EXPECT_EQ(offsetAtClick, 0);
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->MouseUp(1, 110, 110));
    button->MouseMove(111, 111);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(AniButtonTest, PixelOfValue1000CountsAsOutside) {
    button->SetPicture("BTN3", 3, true);
    button->MouseMove(135, 110);
    EXPECT_EQ(enters, 0);
    button->MouseMove(110, 110);
    button->MouseMove(135, 110);  // read in the hover frame
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(button->MouseDown(1, 135, 110));

    // The pixel is read in the frame shown: once hovering, the hover frame decides.
    button->SetPicture("BTN3_NORMAL_EDGE", 3, true);
    button->MouseMove(300, 300);
    button->MouseMove(135, 110);
    EXPECT_EQ(enters, 1);  // the normal frame marks the point outside
    button->MouseMove(110, 110);
    button->MouseMove(135, 110);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 1);  // the hover frame does not
    EXPECT_TRUE(button->MouseDown(1, 135, 110));
}

TEST_F(AniButtonTest, DisabledFramesAndDrawing) {
    auto four = AniButton::Create();
    four->SetPicture("BTN4", 4, false);
    four->SetEnabled(false);
    EXPECT_EQ(four->FrameOffset(), 3 * kButtonWidth);
    four->SetFrame(1);
    four->SetFrame(4);  // no such frame
    EXPECT_EQ(four->FrameOffset(), kButtonWidth);

    button->MouseMove(110, 110);
    button->SetEnabled(false);
    EXPECT_EQ(button->FrameOffset(), 0);  // no disabled frame in a 3-frame strip
    button->MouseMove(300, 300);
    EXPECT_EQ(leaves, 0);
    EXPECT_FALSE(button->MouseDown(1, 110, 110));

    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    button->SetEnabled(true);
    button->MouseMove(110, 110);
    button->Draw();
    EXPECT_EQ(BackPixel(100, 100), kFrameColour[1]);
    EXPECT_EQ(BackPixel(140, 100), kScreenColour);

    // A release while disabled is not handled and leaves the press standing: back over the
    // button once enabled, the pressed frame shows and the release clicks.
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    button->SetEnabled(false);
    EXPECT_FALSE(button->MouseUp(1, 110, 110));
    button->SetEnabled(true);
    button->MouseMove(112, 112);
    EXPECT_EQ(button->FrameOffset(), 2 * kButtonWidth);
    EXPECT_TRUE(button->MouseUp(1, 112, 112));
    EXPECT_EQ(clicks, 1);
}

// An owner that recreates its buttons from inside a handler of one of them (as a screen's
// RestoreRes does after a lost display): the old button must live until its handler returns.
struct Owner {
    std::shared_ptr<AniButton> btn;
    bool recreateOnEnter = true;
    std::function<void()> onClick;

    void Recreate() {
        btn = AniButton::Create();
        btn->SetPicture("BTN3", 3, false);
        btn->Left = btn->Top = 100;
        btn->OnEnter = [this] {
            if (recreateOnEnter) Recreate();
        };
        btn->OnClick = [this] { onClick(); };
    }
};

TEST(AniButtonLifetime, OwnerRecreatingTheButtonInsideItsHandler) {
    EnsureWorld();
    Owner owner;
    owner.Recreate();
    AniButton* raw = owner.btn.get();  // nobody else holds the button
    raw->MouseMove(110, 110);
    EXPECT_NE(owner.btn.get(), raw);
    EXPECT_FALSE(owner.btn->Hovered());
}

// The same through a dialog opened by the click handler, while the screen behind recreates its
// buttons during the dialog's first frame.
TEST(AniButtonLifetime, ButtonSurvivesRecreationDuringADialogOpenedByItsHandler) {
    auto screen = std::make_shared<TestScreen>();
    Driver driver(screen);
    Owner owner;
    owner.recreateOnEnter = false;
    owner.Recreate();
    std::weak_ptr<AniButton> clicked = owner.btn;
    bool aliveAfterDialog = false;
    owner.onClick = [&] {
        g_MsgDlg2->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
        EXPECT_EQ(g_MsgDlg2->Show(u"你真的要退出吗？", 240, 212, false), 1);
        aliveAfterDialog = !clicked.expired();
    };
    screen->onFrame = [&](int frame) {
        if (frame == 0) owner.Recreate();
    };
    driver.Key(platform::VK_RETURN);
    AniButton* raw = owner.btn.get();
    raw->MouseMove(110, 110);
    ASSERT_TRUE(raw->MouseDown(1, 110, 110));
    EXPECT_TRUE(raw->MouseUp(1, 110, 110));
    EXPECT_TRUE(aliveAfterDialog);
    EXPECT_TRUE(clicked.expired());
}

}  // namespace
