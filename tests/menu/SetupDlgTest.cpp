#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/PlayerFiles.h"
#include "results/WeakKeys.h"
#include "shell/MessageDlg.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "tests/widgets/WidgetWorld.h"
#include "widgets/CheckBox.h"
#include "widgets/DropDownList.h"
#include "widgets/SlideBar.h"

using namespace widgettest;
using namespace platform;

namespace {

constexpr int32_t kX = 173, kY = 143;
constexpr int32_t kDefaultX = kX + 368 + 10;
constexpr int32_t kButtonY = kY + 266 + 10;
constexpr int32_t kSliderLeft = kX + 220;

class SetupDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureWorld();
        std::remove(SettingsPath().c_str());
        g_Settings = SettingsRecord{};
        g_Settings.Field = {0, 3, 100, 10, 5, 0, 1, 1, 6, 3, 3, 0};
        before = g_Settings;
        dlg = SetupDlg::Create();
    }
    void TearDown() override { std::remove(SettingsPath().c_str()); }

    static std::string SettingsPath() { return platform::PlayerConfigFolder() + kSettingsFile; }
    static bool SettingsWritten() { return !ReadBytes(SettingsPath()).empty(); }
    // A 32-bit field of the file (field 0 is empty in these tests).
    static int32_t FileField(int field) {
        auto bytes = ReadBytes(SettingsPath());
        size_t at = 2 + 4 * static_cast<size_t>(field - 1);
        if (bytes.size() < at + 4) return -12345;
        return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                    static_cast<uint32_t>(bytes[at + 3]) << 24);
    }

    bool Show(int page) {
        const char* bg = page == 2 ? "FROG_SETUP" : page == 3 ? "MOLE_SETUP" : "APPLE_SETUP";
        dlg->SetPictures(bg, "DEFAULT", "OK", "CANCEL");
        return dlg->Show(page, kX, kY);
    }

    SettingsRecord before;
    std::shared_ptr<SetupDlg> dlg;
};

TEST_F(SetupDlgTest, EnterWithoutChangesWritesAndAsksNothing) {
    Driver driver;
    driver.Key(VK_RETURN);
    EXPECT_FALSE(Show(1));
    EXPECT_FALSE(SettingsWritten());
    EXPECT_EQ(driver.Screen().frames, 1);  // only the settings frame: no question was drawn
    EXPECT_EQ(g_Settings.Field, before.Field);
}

TEST_F(SetupDlgTest, SliderMovedTo500IsSavedWhateverTheAnswer) {
    for (bool apply : {true, false}) {
        std::remove(SettingsPath().c_str());
        g_Settings = before;
        Driver driver;
        int32_t top = kY + 135;
        int32_t knob = kSliderLeft - 5;  // value 100 of 100..900
        uint16_t question = 0;
        driver
            .Post({Mouse(WM_MOUSEMOVE, knob + 2, top + 5), Mouse(WM_LBUTTONDOWN, knob + 2, top + 5),
                   Mouse(WM_MOUSEMOVE, kSliderLeft + 90, top + 5), Mouse(WM_LBUTTONUP, kSliderLeft + 90, top + 5)})
            .Frame()
            .Then([&] { EXPECT_EQ(dlg->Slider(1)->Value, 500); })
            .Key(VK_RETURN)
            .Then([&] { question = BackPixel(240, 212); })
            .Key(apply ? VK_RETURN : VK_ESCAPE);
        EXPECT_EQ(Show(1), apply);
        EXPECT_EQ(question, kDialogColour);
        EXPECT_EQ(g_Settings.Field[kApplePass], 500);
        EXPECT_EQ(FileField(kApplePass), 500);
        EXPECT_EQ(FileField(kAppleLevel), 3);
        EXPECT_FALSE(driver.gaveUp);
    }
}

// Whatever a slider can be set to is what the settings file keeps: pulled to either end, every
// slider of every page is saved, and read back unchanged and without a warning.
TEST_F(SetupDlgTest, EverySliderPulledToEitherEndIsReadBackAsSaved) {
    const int kSliders[] = {0, 3, 1, 3, 2};
    for (int page = 1; page <= 4; ++page) {
        for (int32_t toX : {0, 799}) {
            SCOPED_TRACE("page " + std::to_string(page) + " to x " + std::to_string(toX));
            std::remove(SettingsPath().c_str());
            g_Settings = before;
            Driver driver;
            driver.Frame();
            for (int i = 0; i < kSliders[page]; ++i) {
                driver
                    .Then([&, i, toX] {
                        const SlideBar& slider = *dlg->Slider(i);
                        const int32_t x = slider.KnobX() + 2, y = slider.Top + 5;
                        for (const Message& m : {Mouse(WM_MOUSEMOVE, x, y), Mouse(WM_LBUTTONDOWN, x, y),
                                                 Mouse(WM_MOUSEMOVE, toX, y), Mouse(WM_LBUTTONUP, toX, y)})
                            MessageQueue::Instance().Post(m);
                    })
                    .Frame();
            }
            driver.Key(VK_RETURN).Key(VK_RETURN);
            Show(page);
            const SettingsRecord saved = g_Settings;
            ASSERT_NE(saved.Field, before.Field);
            testing::internal::CaptureStderr();
            EXPECT_TRUE(LoadSettings(kSettingsFile));
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
            EXPECT_EQ(g_Settings.Field, saved.Field);
        }
    }
}

TEST_F(SetupDlgTest, EscDiscardsChanges) {
    Driver driver;
    driver.Click(kSliderLeft + 170, kY + 85 + 5).Frame().Key(VK_ESCAPE);
    EXPECT_FALSE(Show(1));
    EXPECT_EQ(dlg->Slider(0)->Value, 4);
    EXPECT_EQ(g_Settings.Field, before.Field);
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(SetupDlgTest, DragHeldWhenEscClosesDoesNotCarryIntoTheNextShow) {
    int32_t top = kY + 135;
    int32_t knob = kSliderLeft - 5;  // value 100 of 100..900
    {
        Driver driver;
        driver.Post({Mouse(WM_MOUSEMOVE, knob + 2, top + 5), Mouse(WM_LBUTTONDOWN, knob + 2, top + 5)})
            .Frame()
            .Key(VK_ESCAPE);
        EXPECT_FALSE(Show(1));
    }
    EXPECT_FALSE(dlg->Slider(1)->Dragging());
    Driver driver;
    driver.Post({Mouse(WM_MOUSEMOVE, kSliderLeft + 90, top + 5)}).Frame().Key(VK_ESCAPE);
    EXPECT_FALSE(Show(1));
    EXPECT_EQ(dlg->Slider(1)->Value, 100);
}

TEST_F(SetupDlgTest, DefaultOnTheFrogPageSelectsCourse3WithoutSaving) {
    Driver driver;
    driver.Click(kDefaultX, kButtonY)
        .Frame()
        .Then([&] {
            EXPECT_EQ(dlg->CourseList()->ListIndex(), 3);
            EXPECT_EQ(dlg->CourseList()->Item(3), u"大学英语1~4级常用词汇");
            EXPECT_EQ(dlg->Slider(0)->Value, 0);
            EXPECT_TRUE(dlg->Running());
        })
        .Key(VK_ESCAPE);
    EXPECT_FALSE(Show(2));
    EXPECT_EQ(g_Settings.Field, before.Field);
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(SetupDlgTest, PressOnTheOpenCourseListReachesNoOtherControl) {
    // The frog page's slider (value 5 of 0..9) lies below the opened list.
    int32_t sliderTop = kY + 150;
    int32_t knob = kSliderLeft + 100 - 5;
    int32_t listTop = kY + 100;
    int32_t y = sliderTop + 7;
    Driver driver;
    driver.Click(kSliderLeft + 10, listTop + 10)
        .Frame()
        .Then([&] { EXPECT_TRUE(dlg->CourseList()->IsOpen()); })
        .Post({Mouse(WM_MOUSEMOVE, knob + 3, y), Mouse(WM_LBUTTONDOWN, knob + 3, y)})
        .Then([&] {
            EXPECT_FALSE(dlg->Slider(0)->Dragging());
            EXPECT_TRUE(dlg->CourseList()->IsOpen());
        })
        .Post({Mouse(WM_LBUTTONUP, knob + 3, y)})
        .Frame()
        .Key(VK_RETURN)
        .Key(VK_RETURN);
    EXPECT_TRUE(Show(2));
    EXPECT_EQ(dlg->Slider(0)->Value, 5);
    EXPECT_EQ(g_Settings.Field[kFrogCourse], (y - listTop - 20 - 4) / 18);
    EXPECT_EQ(g_Settings.Field[kFrogLevel], 5);
    EXPECT_FALSE(dlg->CourseList()->IsOpen());
}

TEST_F(SetupDlgTest, BonusBoxStoresOnAsMinusOne) {
    g_Settings.Field[kSpaceBonus] = 5;  // any non-zero value is on
    int32_t boxX = kX + 120 + 5, boxY = kY + 165 + 5;
    {
        Driver driver;
        driver.Click(boxX, boxY).Frame().Key(VK_RETURN).Key(VK_RETURN);
        EXPECT_TRUE(Show(4));
        EXPECT_EQ(g_Settings.Field[kSpaceBonus], 0);
    }
    {
        Driver driver;
        driver.Then([&] { EXPECT_FALSE(dlg->BonusBox()->Value()); })
            .Click(boxX, boxY)
            .Frame()
            .Key(VK_RETURN)
            .Key(VK_ESCAPE);
        EXPECT_FALSE(Show(4));
        EXPECT_EQ(g_Settings.Field[kSpaceBonus], -1);
        EXPECT_EQ(FileField(kSpaceBonus), -1);
    }
}

// The weak-key choice lives in a file of its own: a save that fails tells the player, as the
// settings file's does.
TEST_F(SetupDlgTest, AWeakKeyChoiceThatCannotBeSavedIsToldWithItsFile) {
    const std::string file = results::WeakKeys::OptionFile();
    std::ofstream(file) << "0";
    chmod(file.c_str(), 0444);
    LoadSettings(kSettingsFile);  // a new run: nothing told yet
    testing::internal::CaptureStderr();
    {
        Driver driver;
        driver.Click(kX + 120 + 5, kY + 213 + 5).Frame().Key(VK_RETURN).Key(VK_RETURN);
        EXPECT_TRUE(Show(1));
    }
    const std::string told = testing::internal::GetCapturedStderr();
    chmod(file.c_str(), 0644);
    std::remove(file.c_str());
    EXPECT_NE(told.find("设置无法保存：" + file), std::string::npos) << told;
    EXPECT_NE(told.find("read-only"), std::string::npos) << told;
}

}  // namespace
