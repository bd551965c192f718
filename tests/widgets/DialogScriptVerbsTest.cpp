#include <gtest/gtest.h>

#include "menu/SetupDlg.h"
#include "shell/ScriptVerbs.h"
#include "tests/widgets/WidgetWorld.h"
#include "widgets/DialogScriptVerbs.h"

using namespace widgettest;

namespace {

TEST(DialogScriptVerbs, OpenTheDialogsOverTheCurrentScreen) {
    EnsureWorld();
    RegisterDialogScriptVerbs();
    for (int page = 1; page <= 4; ++page) {
        Driver driver;
        uint16_t seen = 0;
        driver.Then([&] { seen = BackPixel(173 + 1, 143 + 1); }).Key(platform::VK_ESCAPE);
        EXPECT_TRUE(RunScriptVerb("open setup " + std::to_string(page)));
        EXPECT_EQ(g_SetupDlg->Page(), page);
        EXPECT_EQ(seen, kSetupColour);
    }
    Driver driver;
    uint16_t seen = 0;
    driver.Then([&] { seen = BackPixel(241, 213); }).Key(platform::VK_ESCAPE);
    EXPECT_TRUE(RunScriptVerb("open msgdlg"));
    EXPECT_EQ(seen, kDialogColour);
    EXPECT_EQ(driver.Screen().frames, 2);
}

}  // namespace
