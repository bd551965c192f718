#include <gtest/gtest.h>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/CheckBox.h"

using namespace widgettest;

namespace {

class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorld();
        box = CheckBox::Create();
        box->Left = 50;
        box->Top = 60;
        box->OnChanged = [this] { ++changes; };
    }
    std::shared_ptr<CheckBox> box;
    int changes = 0;
};

TEST_F(CheckBoxTest, ClickingShowsTheNewStateUnderThePointer) {
    box->SetValue(true);
    EXPECT_EQ(box->CellOffset(), 40);
    changes = 0;
    EXPECT_TRUE(box->MouseDown(1, 55, 65));
    EXPECT_FALSE(box->Value());
    EXPECT_EQ(box->CellOffset(), 20);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(box->MouseDown(1, 55, 65));
    EXPECT_TRUE(box->Value());
    EXPECT_EQ(box->CellOffset(), 60);
    EXPECT_EQ(changes, 2);
}

TEST_F(CheckBoxTest, SettingTheSameValueRaisesNothing) {
    box->SetValue(false);
    EXPECT_EQ(changes, 0);
    box->SetValue(true);
    box->SetValue(true);
    EXPECT_EQ(changes, 1);
    box->SetValue(false);
    EXPECT_EQ(box->CellOffset(), 0);
    EXPECT_EQ(changes, 2);
}

TEST_F(CheckBoxTest, BoxEdgesAndOtherButtons) {
    EXPECT_FALSE(box->MouseDown(1, 50, 65));  // X = Left
    EXPECT_FALSE(box->MouseDown(1, 55, 60));  // Y = Top
    EXPECT_FALSE(box->MouseDown(1, 70, 65));  // X - Left = 20
    EXPECT_FALSE(box->MouseDown(2, 55, 65));
    EXPECT_TRUE(box->MouseDown(1, 69, 79));
    EXPECT_EQ(changes, 1);
}

TEST_F(CheckBoxTest, HoverCells) {
    box->MouseMove(55, 65);
    EXPECT_EQ(box->CellOffset(), 20);
    box->MouseMove(10, 10);
    EXPECT_EQ(box->CellOffset(), 0);
    box->SetValue(true);
    box->MouseMove(55, 65);
    EXPECT_EQ(box->CellOffset(), 60);
    box->MouseMove(10, 10);
    EXPECT_EQ(box->CellOffset(), 40);
    EXPECT_EQ(changes, 1);
}

TEST_F(CheckBoxTest, DrawsItsCellAndReloadsThePicture) {
    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    box->SetValue(true);
    box->Caption = u"是否开启奖励模式";
    box->Draw();
    EXPECT_EQ(BackPixel(50, 60), kFrameColour[2]);
    EXPECT_EQ(BackPixel(69, 79), kFrameColour[2]);
    box->LoadPicture();
    box->MouseMove(55, 65);
    box->Draw();
    EXPECT_EQ(BackPixel(50, 60), kFrameColour[3]);
}

}  // namespace
