#include <gtest/gtest.h>

#include <memory>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/AniButton.h"

using namespace widgettest;

namespace {

class AniButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorld();
        button = AniButton::Create();
        button->SetPicture("BTN3", 3, false);
        button->Left = 100;
        button->Top = 100;
        button->OnEnter = [this] { ++enters; };
        button->OnLeave = [this] { ++leaves; };
        button->OnClick = [this] {
            ++clicks;
            offsetAtClick = button->FrameOffset();
            pressedAtClick = button->Pressed();
        };
    }

    std::shared_ptr<AniButton> button;
    int enters = 0, leaves = 0, clicks = 0;
    int32_t offsetAtClick = -1;
    bool pressedAtClick = true;
};

TEST_F(AniButtonTest, PictureGivesFrameSize) {
    EXPECT_EQ(button->FrameWidth(), kButtonWidth);
    EXPECT_EQ(button->FrameHeight(), kButtonHeight);
    EXPECT_EQ(button->FrameOffset(), 0);
}

TEST_F(AniButtonTest, EnterAndLeaveAreRaisedOnce) {
    button->MouseMove(110, 110);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(button->FrameOffset(), kButtonWidth);
    EXPECT_TRUE(button->Hovered());
    button->MouseMove(111, 112);
    button->MouseMove(120, 105);
    EXPECT_EQ(enters, 1);
    button->MouseMove(300, 300);
    button->MouseMove(301, 300);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(button->FrameOffset(), 0);
    EXPECT_FALSE(button->Hovered());
}

TEST_F(AniButtonTest, EdgeColumnsAreOutside) {
    button->MouseMove(100, 110);  // X = Left
    button->MouseMove(110, 100);  // Y = Top
    button->MouseMove(100 + kButtonWidth, 110);
    button->MouseMove(110, 100 + kButtonHeight);
    EXPECT_EQ(enters, 0);
    button->MouseMove(101, 101);
    EXPECT_EQ(enters, 1);
    button->MouseMove(100 + kButtonWidth - 1, 100 + kButtonHeight - 1);
    EXPECT_EQ(leaves, 0);
}

TEST_F(AniButtonTest, PressLeaveReleaseGivesNoClick) {
    button->MouseMove(110, 110);
    EXPECT_TRUE(button->MouseDown(1, 110, 110));
    EXPECT_EQ(button->FrameOffset(), 2 * kButtonWidth);
    button->MouseMove(300, 300);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(button->FrameOffset(), 0);
    EXPECT_FALSE(button->MouseUp(1, 300, 300));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Pressed());
}

TEST_F(AniButtonTest, PressLeaveReturnReleaseGivesOneClick) {
    button->MouseMove(110, 110);
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    button->MouseMove(300, 300);
    button->MouseMove(115, 115);
    EXPECT_EQ(button->FrameOffset(), 2 * kButtonWidth);
    EXPECT_EQ(enters, 1);  // coming back while pressed is no new enter
    EXPECT_TRUE(button->MouseUp(1, 115, 115));
    EXPECT_EQ(clicks, 1);
}

TEST_F(AniButtonTest, ClickComesAfterTheFrameWentBackToNormal) {
    button->MouseMove(110, 110);
    ASSERT_TRUE(button->MouseDown(1, 110, 110));
    ASSERT_TRUE(button->MouseUp(1, 110, 110));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(offsetAtClick, 0);
    EXPECT_FALSE(pressedAtClick);
    button->MouseMove(111, 111);
    EXPECT_EQ(enters, 2);
    // A second release without a press is no click.
    EXPECT_FALSE(button->MouseUp(1, 111, 111));
    EXPECT_EQ(clicks, 1);
}

TEST_F(AniButtonTest, PressWithoutMoveInsideIsNotHandled) {
    EXPECT_FALSE(button->MouseDown(1, 110, 110));
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(button->FrameOffset(), 0);
    EXPECT_FALSE(button->MouseUp(1, 110, 110));
    // Only the left button presses.
    button->MouseMove(110, 110);
    EXPECT_FALSE(button->MouseDown(2, 110, 110));
    EXPECT_EQ(clicks, 0);
}

TEST_F(AniButtonTest, PixelOfValue1000CountsAsOutside) {
    button->SetPicture("BTN3", 3, true);
    button->MouseMove(135, 110);  // column 35 of frame 0 holds 1000
    EXPECT_EQ(enters, 0);
    button->MouseMove(110, 110);
    EXPECT_EQ(enters, 1);
    button->MouseMove(135, 110);  // now read in the hover frame
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(button->MouseDown(1, 135, 110));
    // Without the pixel test the same point is inside.
    button->SetPicture("BTN3", 3, false);
    button->MouseMove(135, 110);
    EXPECT_EQ(enters, 2);
}

TEST_F(AniButtonTest, DisabledButtonShowsItsFrameAndIgnoresTheMouse) {
    auto four = AniButton::Create();
    four->SetPicture("BTN4", 4, false);
    four->SetEnabled(false);
    EXPECT_EQ(four->FrameOffset(), 3 * kButtonWidth);
    four->SetFrame(1);  // a choice shown on a disabled button
    EXPECT_EQ(four->FrameOffset(), kButtonWidth);
    four->SetFrame(4);  // no such frame
    EXPECT_EQ(four->FrameOffset(), kButtonWidth);

    button->MouseMove(110, 110);
    button->SetEnabled(false);
    EXPECT_EQ(button->FrameOffset(), 0);  // three frames: no disabled frame
    button->MouseMove(300, 300);
    EXPECT_EQ(leaves, 0);
    EXPECT_FALSE(button->MouseDown(1, 110, 110));
    EXPECT_FALSE(button->MouseUp(1, 110, 110));
    button->SetEnabled(true);
    EXPECT_TRUE(button->Enabled());
}

TEST_F(AniButtonTest, ButtonWithoutPictureIsNeverInside) {
    auto bare = AniButton::Create();
    int entered = 0;
    bare->OnEnter = [&] { ++entered; };
    bare->MouseMove(1, 1);
    EXPECT_EQ(entered, 0);
    EXPECT_FALSE(bare->MouseDown(1, 1, 1));
    bare->Draw();
}

TEST_F(AniButtonTest, DrawsTheCurrentFrameKeyed) {
    g_Graphic->Clear(0);
    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    button->Draw();
    EXPECT_EQ(BackPixel(100, 100), kFrameColour[0]);
    EXPECT_EQ(BackPixel(100 + kButtonWidth, 100), kScreenColour);
    button->MouseMove(110, 110);
    button->Draw();
    EXPECT_EQ(BackPixel(101, 101), kFrameColour[1]);
    button->MouseDown(1, 110, 110);
    button->Draw();
    EXPECT_EQ(BackPixel(101, 101), kFrameColour[2]);
}

// An owner that recreates its buttons (as a screen's RestoreRes does after a lost display) from
// inside the click handler of one of them: the old button must live until its handler returns.
struct Owner {
    std::shared_ptr<AniButton> btn;
    std::weak_ptr<AniButton> old;
    bool aliveDuringHandler = false;
    int generation = 0;
    bool recreateOnEnter = true;

    void Recreate() {
        btn = AniButton::Create();
        btn->SetPicture("BTN3", 3, false);
        btn->Left = 100;
        btn->Top = 100;
        int gen = ++generation;
        btn->OnClick = [this, gen] { Clicked(gen); };
        btn->OnEnter = [this] {
            if (recreateOnEnter) Recreate();
        };
    }
    void Clicked(int gen) {
        old = btn;
        Recreate();
        aliveDuringHandler = !old.expired();
        EXPECT_EQ(gen, generation - 1);  // the captures of the running handler are intact
    }
};

TEST(AniButtonLifetime, OwnerRecreatingButtonsInsideTheHandlerIsSafe) {
    EnsureWorld();
    Owner owner;
    owner.Recreate();
    AniButton* raw = owner.btn.get();
    raw->MouseMove(110, 110);  // the enter handler replaces the button too
    EXPECT_NE(owner.btn.get(), raw);

    raw = owner.btn.get();
    owner.recreateOnEnter = false;
    raw->MouseMove(110, 110);
    ASSERT_TRUE(raw->MouseDown(1, 110, 110));
    EXPECT_TRUE(raw->MouseUp(1, 110, 110));
    EXPECT_TRUE(owner.aliveDuringHandler);
    EXPECT_TRUE(owner.old.expired());
}

// The same through a dialog: the click handler opens a message dialog, and while it runs the
// screen behind recreates its buttons (what a lost display makes it do).
class ButtonScreen : public TestScreen {
public:
    Owner owner;
    bool MouseUp(int32_t b, int32_t x, int32_t y) override {
        owner.btn->MouseUp(b, x, y);  // no copy held here: the button keeps itself alive
        return true;
    }
};

TEST(AniButtonLifetime, ButtonSurvivesRecreationDuringADialogOpenedByItsHandler) {
    auto screen = std::make_shared<ButtonScreen>();
    Driver driver(screen);
    screen->owner.recreateOnEnter = false;
    screen->owner.Recreate();
    int32_t answer = -1;
    bool aliveAfterDialog = false;
    std::weak_ptr<AniButton> clicked;
    screen->owner.btn->OnClick = [&] {
        clicked = screen->owner.btn;
        g_MsgDlg2->SetPictures("MAIN_DLG_BG", "MAIN_DLG_EXIT", "MOLE_DLG_NEXT", "MAIN_DLG_REPLAY");
        answer = g_MsgDlg2->Show(u"你真的要退出吗？", 240, 212, false);
        aliveAfterDialog = !clicked.expired();
    };
    screen->onFrame = [&](int frame) {
        if (frame == 0) screen->owner.Recreate();
    };
    driver.Key(platform::VK_RETURN);
    screen->owner.btn->MouseMove(110, 110);
    ASSERT_TRUE(screen->owner.btn->MouseDown(1, 110, 110));
    screen->MouseUp(1, 110, 110);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(aliveAfterDialog);
    EXPECT_TRUE(clicked.expired());
}

}  // namespace
