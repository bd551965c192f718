#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/CodePageConverter.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

using namespace platform;

namespace {

TEST(CodePageTest, ConvertsBetweenUtf16AndCp936) {
    const std::u16string text = u"Arial 打字游戏 abc";
    const std::string ansi = ToAnsi(text);
    EXPECT_EQ(ansi.size(), 6u + 8u + 4u);
    EXPECT_EQ(ansi.substr(6, 2), "\xB4\xF2");  // 打
    EXPECT_EQ(FromAnsi(ansi), text);
    EXPECT_EQ(ToAnsi(u"宋体"), "\xCB\xCE\xCC\xE5");
}

TEST(CodePageTest, ReplacesWhatCannotBeConverted) {
    // Characters outside the code page, and a lone surrogate, become '?'.
    EXPECT_EQ(ToAnsi(u"a\u0E01\U0001F600b"), "a??b");
    EXPECT_EQ(ToAnsi(std::u16string(1, u'\xD800') + u"x"), "?x");
    // A lead byte without its trail byte, and a lone 0xFF, become U+FFFD.
    EXPECT_EQ(FromAnsi("x\xB4"), u"x\uFFFD");
    EXPECT_EQ(FromAnsi("\xFFy"), u"\uFFFDy");
    EXPECT_EQ(FromAnsi(""), u"");
}

// The game and the advertising module share one converter; each states its replacement rule.
TEST(CodePageTest, OneConverterKeepsEachCallersRule) {
    using Direction = CodePageConverter::Direction;
    const std::u16string emoji = u"a\U0001F600b\xD800";
    const std::string_view units(reinterpret_cast<const char*>(emoji.data()), emoji.size() * 2);
    CodePageConverter perCharacter(Direction::Utf16ToAnsi, "?", CodePageConverter::Marks::PerCharacter);
    CodePageConverter perUnit(Direction::Utf16ToAnsi, "?", CodePageConverter::Marks::PerUtf16Unit);
    EXPECT_EQ(perCharacter.Convert(units), "a?b?");
    EXPECT_EQ(perUnit.Convert(units), "a??b?");
    // From UTF-8 the same counts hold, and every byte that starts no character is one
    // replacement.
    CodePageConverter fromUtf8(Direction::Utf8ToAnsi, "#", CodePageConverter::Marks::PerCharacter);
    EXPECT_EQ(fromUtf8.Convert("a\xF0\x9F\x98\x80\xFF\xE6\x89z\xE6\x89\x93"), "a####z\xB4\xF2");
    // A converter is reused for many texts: a cut sequence at the end of one does not leak into the next.
    CodePageConverter toUtf8(Direction::AnsiToUtf8, "?");
    EXPECT_EQ(toUtf8.Convert("x\xB4"), "x?");
    EXPECT_EQ(toUtf8.Convert("\xFFy"), "?y");
}

TEST(CodePageTest, Utf8RoundTripsAndRejectsMalformedInput) {
    const std::u16string text = u"打字 \U0001F600 ok";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"打"), "\xE6\x89\x93");
    EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");          // cut short
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");        // overlong
    EXPECT_EQ(FromUtf8("\xED\xA0\x80z"), u"\uFFFDz");  // encoded surrogate
    EXPECT_EQ(FromUtf8("\x80z"), u"\uFFFDz");          // stray continuation byte
    EXPECT_EQ(FromUtf8("\xE6\x89z"), u"\uFFFDz");      // continuation missing
}

TEST(ProgramFolderTest, BackslashPathsLandBelowTheProgramFolder) {
    const std::string original = ProgramFolder();
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(original.back(), '/');

    SetProgramFolder("/opt/glyphor");
    EXPECT_EQ(ProgramFolder(), "/opt/glyphor/");
    EXPECT_EQ(ProgramPath("\\Game\\Setting.DAT"), "/opt/glyphor/Game/Setting.DAT");
    EXPECT_EQ(ProgramPath("\\Data\\English\\T_WORD\\Dictionary\\\\A.ID"),
              "/opt/glyphor/Data/English/T_WORD/Dictionary/A.ID");
    EXPECT_EQ(ProgramPath("Game/space.hi"), "/opt/glyphor/Game/space.hi");
    SetProgramFolder(original);
    EXPECT_EQ(ProgramFolder(), original);
}

TEST(MessageBoxTest, HeadlessBoxesGoToStandardError) {
    testing::internal::CaptureStderr();
    ShowMessageBox(u"第一行\r\n第二行", ApplicationTitle(), MessageIcon::Error);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("打字游戏"), std::string::npos);
    EXPECT_NE(written.find("第一行\n第二行"), std::string::npos);
    EXPECT_EQ(ApplicationTitle(), u"打字游戏");
}

}  // namespace
