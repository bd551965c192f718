#include <gtest/gtest.h>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/SlideBar.h"

using namespace widgettest;

namespace {

// 0..100 over 200 pixels at (100, 200): one value is 2 pixels.
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

TEST_F(SlideBarTest, KnobPlaceRoundsHalvesToEven) {
    EXPECT_EQ(bar->KnobX(), bar->Left + 95);
    bar->MaxValue = 8;
    bar->Width = 20;
    bar->Value = 1;  // 97.5
    EXPECT_EQ(bar->ComputeKnobX(), 98);
    bar->Value = 3;  // 102.5
    EXPECT_EQ(bar->ComputeKnobX(), 102);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1e300), INT32_MAX);
}

TEST_F(SlideBarTest, ClicksBesideTheKnobStepWithinTheRange) {
    int32_t knob = bar->KnobX();
    EXPECT_FALSE(bar->MouseDown(1, 150, 200));  // Y = Top
    EXPECT_FALSE(bar->MouseDown(1, 95, 210));   // X = Left - 5
    EXPECT_TRUE(bar->MouseDown(1, knob, 210));
    EXPECT_EQ(bar->Value, 49);
    EXPECT_TRUE(bar->MouseDown(1, knob + 13, 210));  // past the knob's 11 pixels and one step
    EXPECT_EQ(bar->Value, 50);
    EXPECT_FALSE(bar->Dragging());
    // The knob moves only when drawn: presses in between test the same place.
    bar->Value = 98;
    bar->Draw();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(bar->MouseDown(1, 305, 220));
    EXPECT_EQ(bar->Value, 100);

    // The knob's reach adds Width / range in floating point: 180 pixels over 100..900 add
    // 0.225, so a press on the first column past the knob still grabs it.
    bar->MinValue = 100;
    bar->MaxValue = 900;
    bar->Width = 180;
    bar->Value = 500;
    bar->Draw();
    EXPECT_TRUE(bar->MouseDown(1, bar->KnobX() + 11, 210));
    EXPECT_TRUE(bar->Dragging());
    EXPECT_EQ(bar->Value, 500);
}

TEST_F(SlideBarTest, DraggingFollowsThePointerWithinTheRange) {
    ASSERT_TRUE(bar->MouseDown(1, bar->KnobX() + 12, 210));
    ASSERT_TRUE(bar->Dragging());
    bar->MouseMove(300, 0);
    EXPECT_EQ(bar->Value, 100);
    bar->MouseMove(500, 0);
    EXPECT_EQ(bar->Value, 100);
    bar->MouseMove(161, 0);  // 30.5
    EXPECT_EQ(bar->Value, 30);
    bar->MouseMove(163, 0);  // 31.5
    EXPECT_EQ(bar->Value, 32);

    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    bar->Draw();
    EXPECT_EQ(BackPixel(bar->KnobX(), 200), kFrameColour[1]);  // the dragging knob
    EXPECT_NE(BackPixel(bar->KnobX(), 190), kScreenColour);    // the value tag
    EXPECT_FALSE(bar->MouseUp(1, 0, 0));
    bar->MouseMove(0, 0);
    EXPECT_EQ(bar->Value, 32);
}

}  // namespace
