// OLE strings and the text conversions at the module's interface.

#include "admodule/CodePage.h"
#include "admodule/OleText.h"
#include "platform/olestr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tavi {
namespace {

TEST(TaviOle, StringLayout) {
    BSTR text = SysAllocString(u"ab\u5E7F");
    ASSERT_NE(text, nullptr);
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
    EXPECT_EQ(prefix, 6u);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[3], 0);
    SysFreeString(text);

    BSTR withZero = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(withZero), 3u);
    EXPECT_EQ(OleToAnsi(withZero), std::string("a\0b", 3));  // the length comes from the prefix
    SysFreeString(withZero);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR blank = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(blank[0], 0);
    EXPECT_EQ(SysStringLen(blank), 2u);
    SysFreeString(blank);
}

TEST(TaviOle, ConvertsThroughTheAnsiCodePage) {
    EXPECT_EQ(Utf16ToAnsi(u"\u5E7F\u544Aad"),
              "\xB9\xE3\xB8\xE6"
              "ad");
    EXPECT_EQ(AnsiToUtf16("\xB9\xE3\xB8\xE6"
                          "ad"),
              u"\u5E7F\u544Aad");
    EXPECT_EQ(AnsiToUtf8("\xB9\xE3"), "\xE5\xB9\xBF");
    EXPECT_EQ(Utf8ToAnsi("\xE5\xB9\xBF"), "\xB9\xE3");
    // What the code page cannot hold, or what is broken, becomes "?".
    EXPECT_EQ(Utf16ToAnsi(u"a\U0001F600b"), "a??b");
    EXPECT_EQ(Utf16ToAnsi(std::u16string(u"a\xD800")), "a?");
    EXPECT_EQ(Utf8ToAnsi("a\xFF"
                         "b"),
              "a?b");
    // A character the code page lacks gives the same "?" from UTF-8 as from UTF-16: one per
    // UTF-16 unit, not one per UTF-8 byte.
    EXPECT_EQ(Utf8ToAnsi("a\xE0\xB8\x81"
                         "b"),
              Utf16ToAnsi(u"a\u0E01b"));
    EXPECT_EQ(Utf8ToAnsi("a\xE0\xB8\x81"
                         "b"),
              "a?b");
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"
                         "b"),
              Utf16ToAnsi(u"a\U0001F600b"));
    EXPECT_EQ(AnsiToUtf16("a\xB9"), u"a?");

    EXPECT_EQ(OleToAnsi(nullptr), "");
    BSTR result = AnsiToOle("\xB9\xE3 1");
    EXPECT_EQ(std::u16string(result, SysStringLen(result)), u"\u5E7F 1");
    SysFreeString(result);
    BSTR empty = AnsiToOle("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
    WriteSlot(nullptr, "ignored");
}

}  // namespace
}  // namespace tavi
