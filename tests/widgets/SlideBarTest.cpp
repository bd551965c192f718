#include <gtest/gtest.h>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/SlideBar.h"

using namespace widgettest;

namespace {

class SlideBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorld();
        bar = SlideBar::Create();
        bar->Left = 100;
        bar->Top = 200;
        bar->Width = 200;
        bar->Value = 50;
        bar->Draw();
    }
    std::shared_ptr<SlideBar> bar;
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(1e300), INT32_MAX);
}

TEST_F(SlideBarTest, KnobForTheMiddleValue) {
    EXPECT_EQ(bar->MinValue, 0);
    EXPECT_EQ(bar->MaxValue, 100);
    EXPECT_EQ(bar->KnobX(), bar->Left + 95);
    // Halves go to the even pixel: 1 of 0..8 over 20 pixels is at 97.5 -> 98, 3 at 102.5 -> 102.
    bar->MaxValue = 8;
    bar->Width = 20;
    bar->Value = 1;
    EXPECT_EQ(bar->ComputeKnobX(), 98);
    bar->Value = 3;
    EXPECT_EQ(bar->ComputeKnobX(), 102);
}

TEST_F(SlideBarTest, ClicksBesideTheKnobStepByOne) {
    int32_t knob = bar->KnobX();
    EXPECT_TRUE(bar->MouseDown(1, knob, 210));
    EXPECT_EQ(bar->Value, 49);
    EXPECT_FALSE(bar->Dragging());
    // The knob's reach: 11 pixels plus one value step (2 pixels).
    EXPECT_TRUE(bar->MouseDown(1, knob + 13, 210));
    EXPECT_EQ(bar->Value, 50);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_TRUE(bar->MouseDown(1, knob + 12, 210));
    EXPECT_TRUE(bar->Dragging());
    EXPECT_EQ(bar->Value, 50);
    EXPECT_FALSE(bar->MouseUp(1, knob + 12, 210));
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(SlideBarTest, ClicksNeverLeaveTheRange) {
    // The knob is placed by drawing; presses between two frames test the same knob.
    bar->Value = 1;
    bar->Draw();
    EXPECT_TRUE(bar->MouseDown(1, bar->Left - 4, 210));
    EXPECT_EQ(bar->Value, 0);
    EXPECT_TRUE(bar->MouseDown(1, bar->Left - 4, 210));
    EXPECT_EQ(bar->Value, 0);
    bar->Value = 98;
    bar->Draw();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(bar->MouseDown(1, 100 + 200 + 5, 210));
    EXPECT_EQ(bar->Value, 100);
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(SlideBarTest, PressArea) {
    EXPECT_FALSE(bar->MouseDown(1, 150, 200));        // Y = Top
    EXPECT_TRUE(bar->MouseDown(1, 150, 220));         // Y = Top + 20
    EXPECT_FALSE(bar->MouseDown(1, 150, 221));
    EXPECT_FALSE(bar->MouseDown(1, 95, 210));         // X = Left - 5
    EXPECT_FALSE(bar->MouseDown(1, 306, 210));        // X = Left + Width + 6
    EXPECT_FALSE(bar->MouseDown(2, 150, 210));
}

TEST_F(SlideBarTest, DraggingFollowsThePointerWithinTheRange) {
    ASSERT_TRUE(bar->MouseDown(1, bar->KnobX() + 5, 210));
    ASSERT_TRUE(bar->Dragging());
    bar->MouseMove(100 + 200, 0);
    EXPECT_EQ(bar->Value, 100);
    bar->MouseMove(100 + 400, 0);
    EXPECT_EQ(bar->Value, 100);
    bar->MouseMove(100 + 61, 0);  // 30.5 rounds to 30
    EXPECT_EQ(bar->Value, 30);
    bar->MouseMove(100 + 63, 0);  // 31.5 rounds to 32
    EXPECT_EQ(bar->Value, 32);
    bar->MouseMove(0, 0);
    EXPECT_EQ(bar->Value, 0);
    bar->MouseUp(1, 0, 0);
    bar->MouseMove(200, 0);
    EXPECT_EQ(bar->Value, 0);
}

TEST_F(SlideBarTest, DrawsTheKnobCellForItsState) {
    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    bar->Draw();
    EXPECT_EQ(BackPixel(195, 200), kFrameColour[0]);
    EXPECT_EQ(BackPixel(150, 208), kFrameColour[3]);  // the track
    EXPECT_EQ(BackPixel(150, 211), kScreenColour);
    bar->MouseDown(1, 200, 210);
    ASSERT_TRUE(bar->Dragging());
    bar->LoadPicture();
    bar->Draw();
    EXPECT_EQ(BackPixel(195, 200), kFrameColour[1]);
    EXPECT_NE(BackPixel(190, 190), kScreenColour);  // the value tag above the knob
}

TEST_F(SlideBarTest, EmptyRangeDoesNotDivideByZero) {
    bar->MinValue = bar->MaxValue = 5;
    bar->Value = 5;
    bar->Draw();
    EXPECT_EQ(bar->KnobX(), 95);
    bar->Width = 0;
    EXPECT_TRUE(bar->MouseDown(1, 96, 210));
    bar->MouseMove(500, 0);
    EXPECT_EQ(bar->Value, 5);
}

}  // namespace
