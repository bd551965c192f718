#include <gtest/gtest.h>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/CheckBox.h"

using namespace widgettest;

namespace {

TEST(CheckBox, CellsAndChangeEvents) {
    EnsureWorld();
    auto box = CheckBox::Create();
    box->Left = 50;
    box->Top = 60;
    int changes = 0;
    box->OnChanged = [&] { ++changes; };

    box->SetValue(false);
    EXPECT_EQ(changes, 0);
    box->SetValue(true);
    box->SetValue(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box->CellOffset(), 40);

    EXPECT_FALSE(box->MouseDown(1, 50, 65));  // X = Left is outside
    EXPECT_FALSE(box->MouseDown(2, 55, 65));
    EXPECT_TRUE(box->MouseDown(1, 55, 65));
    EXPECT_FALSE(box->Value());
    EXPECT_EQ(box->CellOffset(), 20);  // unchecked, under the pointer
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(box->MouseDown(1, 69, 79));
    EXPECT_EQ(box->CellOffset(), 60);
    box->MouseMove(10, 10);
    EXPECT_EQ(box->CellOffset(), 40);

    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    box->LoadPicture();
    box->Draw();
    EXPECT_EQ(BackPixel(50, 60), kFrameColour[2]);
    EXPECT_EQ(BackPixel(70, 60), kScreenColour);
}

}  // namespace
