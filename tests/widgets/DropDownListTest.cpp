#include <gtest/gtest.h>

#include <string>

#include "tests/widgets/WidgetWorld.h"
#include "widgets/DropDownList.h"

using namespace widgettest;

namespace {

class DropDownListTest : public ::testing::Test {
protected:
    static constexpr int32_t kLeft = 100, kTop = 100, kWidth = 180, kHeight = 20, kDrop = 145;
    static constexpr int32_t kRows = kTop + kHeight + 4;  // where row 0 starts for the pointer
    void SetUp() override {
        EnsureWorld();
        list = DropDownList::Create();
        list->Left = kLeft;
        list->Top = kTop;
        list->Width = kWidth;
        list->Height = kHeight;
        list->DropDownHeight = kDrop;
        list->ClearItems();
        for (int i = 0; i < 8; ++i) list->AddItem(u"course " + std::u16string(1, u'0' + i));
    }
    void Open() {
        ASSERT_TRUE(list->MouseDown(1, kLeft + 10, kTop + 10));
        ASSERT_TRUE(list->IsOpen());
    }
    std::shared_ptr<DropDownList> list;
};

TEST_F(DropDownListTest, ItemsAndListIndex) {
    EXPECT_EQ(list->ItemCount(), 8);
    list->SetListIndex(5);
    list->SetListIndex(8);
    EXPECT_EQ(list->ListIndex(), 5);
    list->SetListIndex(0);
    EXPECT_EQ(list->ListIndex(), 0);
}

TEST_F(DropDownListTest, HotRowFollowsThePointerWhileOpen) {
    list->MouseMove(kLeft + 10, kRows + 18);
    EXPECT_EQ(list->HotIndex(), 0);
    Open();
    list->MouseMove(kLeft + 10, kTop + 22 + 4);  // 4 pixels below the box
    EXPECT_EQ(list->HotIndex(), 0);
    list->MouseMove(kLeft + 10, kRows + 18 * 3 - 1);
    EXPECT_EQ(list->HotIndex(), 2);
    list->MouseMove(kLeft + 10, 599);
    EXPECT_EQ(list->HotIndex(), 7);
    list->MouseMove(kLeft + 10, 0);
    EXPECT_EQ(list->HotIndex(), 0);
}

TEST_F(DropDownListTest, ReleaseOverTheListChoosesAndTheBoxClosesWithoutAChoice) {
    Open();
    list->MouseMove(kLeft + 10, kRows + 18 * 3 + 5);
    EXPECT_TRUE(list->MouseDown(1, kLeft + 10, kRows + 18 * 3 + 5));
    EXPECT_EQ(list->ListIndex(), 0);  // the choice is made on release
    EXPECT_TRUE(list->MouseUp(1, kLeft + 10, kRows + 18 * 3 + 5));
    EXPECT_EQ(list->ListIndex(), 3);
    EXPECT_FALSE(list->IsOpen());

    Open();
    list->MouseMove(kLeft + 10, kRows + 18 * 5);
    EXPECT_TRUE(list->MouseDown(1, kLeft + 10, kTop + 10));
    EXPECT_FALSE(list->IsOpen());
    EXPECT_FALSE(list->MouseUp(1, kLeft + 10, kRows + 18 * 5));
    EXPECT_EQ(list->ListIndex(), 3);

    Open();
    EXPECT_FALSE(list->MouseDown(1, kLeft + 10, kTop + kHeight + kDrop));  // below the list
    EXPECT_TRUE(list->IsOpen());
    EXPECT_FALSE(list->MouseDown(1, kLeft, kTop + 50));  // beside it: closes
    EXPECT_FALSE(list->IsOpen());
}

TEST_F(DropDownListTest, DrawsTheBoxArrowAndHotBar) {
    g_Graphic->BackSurface().Fill(platform::Rect{}, kScreenColour);
    list->Draw();
    EXPECT_EQ(BackPixel(kLeft + kWidth - 17, kTop + 3), kFrameColour[1]);  // closed arrow
    EXPECT_EQ(BackPixel(kLeft + 100, kTop + kHeight + 30), kScreenColour);
    Open();
    list->MouseMove(kLeft + 10, kRows + 18 * 2);
    list->LoadPicture();
    list->Draw();
    EXPECT_EQ(BackPixel(kLeft + kWidth - 17, kTop + 3), kFrameColour[0]);      // open arrow
    EXPECT_EQ(BackPixel(kLeft + kWidth - 3, kTop + kHeight + 18 * 2 + 1), 0);  // hot bar
    EXPECT_EQ(BackPixel(kLeft + kWidth - 3, kTop + kHeight + 18 * 5 + 1), 0xFFFF);
    list->ClearItems();  // a selection left from before the clearing draws as empty
    list->Draw();
}

}  // namespace
