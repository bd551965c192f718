#include "shell/NameBox.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/widgets/WidgetWorld.h"

using namespace widgettest;
using namespace platform;

namespace {

// What an input method commits: one character message per character, with its ANSI code.
std::vector<Message> Committed(const std::u16string& text) {
    std::vector<Message> out;
    for (char16_t c : text) {
        uint32_t code = 0;
        for (unsigned char b : ToAnsi(std::u16string(1, c))) code = code * 256u + b;
        out.push_back(Msg(WM_IME_CHAR, code));
    }
    return out;
}

std::optional<std::u16string> AskName(int32_t maxChars = 8, const std::u16string& initial = u"英雄") {
    EnsureWorld();
    return NameBox::Create()->Show(u"高分英雄", u"请留下您的大名", initial, maxChars);
}

TEST(NameBox, TypesThroughTheQueueUpToTheCharacterLimit) {
    Driver driver;
    // Keys that type a character are translated by the box; a key may also carry a double-byte
    // character an input method committed with it. Tab types nothing.
    const uint32_t gao =
        static_cast<unsigned char>(ToAnsi(u"高")[0]) * 256u + static_cast<unsigned char>(ToAnsi(u"高")[1]);
    driver.Post({KeyDownMsg('A', {'a'}), Msg(WM_KEYUP, 'A'), KeyDownMsg(VK_TAB, {9}), KeyDownMsg('G', {gao})})
        .Post(Committed(u"分"))
        .Key(VK_BACK)
        .Post(Committed(u"分英雄好汉子孙"))  // a高 + 分英雄好汉子: the ninth character is refused
        .Key(VK_BACK)
        .Post(Committed(u"们"))
        .Key(VK_RETURN);
    // The first key replaced the default name.
    EXPECT_EQ(AskName(), std::u16string(u"a高分英雄好汉们"));
    EXPECT_EQ(driver.Screen().keyPresses + driver.Screen().keyDowns, 0);
    EXPECT_GE(driver.Screen().frames, 1);

    // Backspace clears the default, and past the start leaves an empty answer; Esc after typing
    // gives no answer at all.
    Driver erase;
    erase.Key(VK_BACK).Key(VK_BACK).Key(VK_BACK).Key(VK_RETURN);
    EXPECT_EQ(AskName(), std::u16string());
    Driver cancel;
    cancel.Post(Committed(u"张三")).Key(VK_ESCAPE);
    EXPECT_EQ(AskName(), std::nullopt);

    // A default longer than the limit is cut to whole characters, a surrogate pair counting one.
    Driver cut;
    cut.Key(VK_RETURN);
    EXPECT_EQ(AskName(3, u"a\U0001F600bcd"), std::u16string(u"a\U0001F600b"));
    Driver kept;
    kept.Key(VK_BACK).Post(Committed(u"李")).Key(VK_RETURN);
    EXPECT_EQ(AskName(), std::u16string(u"李"));
}

TEST(NameBox, ButtonsAnswerAndTheCaretBlinks) {
    const int32_t okX = NameBox::kOkLeft + 10, cancelX = NameBox::kCancelLeft + 10;
    const int32_t buttonY = NameBox::kButtonTop + 10;
    Driver ok;
    ok.Post(Committed(u"王")).Click(okX, buttonY).Frame().Key(VK_ESCAPE);
    EXPECT_EQ(AskName(), std::u16string(u"王"));
    EXPECT_EQ(ok.Screen().mouseButtons, 0);
    Driver cancel;
    cancel.Click(cancelX, buttonY).Frame().Key(VK_RETURN);
    EXPECT_EQ(AskName(), std::nullopt);

    // The caret shows for 500 ms and hides for as long: the box draws once at each change and
    // sleeps in between, instead of every 19 ms; typing shows the caret again at once.
    auto box = NameBox::Create();
    bool shownAfterTyping = false;
    Driver blink;
    for (int i = 0; i < 3; ++i) blink.Frame();
    blink.Post(Committed(u"甲")).Frame().Then([&] { shownAfterTyping = box->CaretShown(); }).Key(VK_RETURN);
    EXPECT_EQ(box->Show(u"高分英雄", u"请留下您的大名", u"", 8), std::u16string(u"甲"));
    const std::vector<uint32_t>& times = blink.Screen().frameTimes;
    ASSERT_GE(times.size(), 4u);
    for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(times[i], Driver::kStart + i * NameBox::kBlinkMs);
    EXPECT_TRUE(shownAfterTyping);
}

}  // namespace
