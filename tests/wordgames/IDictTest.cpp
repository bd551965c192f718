// The course word dictionary: records read, skipped and cut, the count asked for, the bounds of
// WordAt, a missing course and damaged ones.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ProgramFolder.h"
#include "tests/support/TempDir.h"
#include "wordgames/IDict.h"

namespace {

// One word record: 4 ignored bytes, the 16-bit length, the text, 4 ignored bytes.
std::string Record(const std::string& text, size_t length) {
    std::string r = "\x01\x02\x03\x04";
    r += static_cast<char>(length & 0xFF);
    r += static_cast<char>(length >> 8);
    return r + text + "wxyz";
}
std::string Record(const std::string& text) { return Record(text, text.size()); }

class IDictTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetProgramFolder(temp_.Path());
        std::filesystem::create_directories(temp_.File("Data/English/T_WORD/Dictionary"));
    }
    void Course(const std::string& key, const std::string& bytes) {
        temp_.Write("Data/English/T_WORD/Dictionary/" + key + ".ID", bytes);
    }
    testsupport::TempDir temp_{"glyphor-dict"};
};

TEST_F(IDictTest, SkipsEmptyAndBraceRecordsAndKeepsTheCountAskedFor) {
    Course("T", Record("") + Record("{unit 1}") + Record("{") + Record("apple") + Record("") + Record("pear") +
                    Record("plum") + Record("fig"));
    IDict dict;
    EXPECT_EQ(dict.Count(), 0);
    EXPECT_EQ(dict.WordAt(0), u"");

    // More words in the file than asked for: only the first ones are kept.
    ASSERT_TRUE(dict.Load("T", 2));
    EXPECT_EQ(dict.Count(), 2);
    EXPECT_EQ(dict.WordAt(0), u"apple");
    EXPECT_EQ(dict.WordAt(1), u"pear");
    EXPECT_EQ(dict.WordAt(dict.Count()), u"pear");
    EXPECT_EQ(dict.WordAt(1000), u"pear");
    EXPECT_EQ(dict.WordAt(-1), u"");

    // Fewer words than asked for: the rest of the slots are empty, the count is still the one asked.
    ASSERT_TRUE(dict.Load("T", 6));
    EXPECT_EQ(dict.Count(), 6);
    EXPECT_EQ(dict.WordAt(3), u"fig");
    EXPECT_EQ(dict.WordAt(4), u"");
    EXPECT_EQ(dict.WordAt(6), u"");

    ASSERT_TRUE(dict.Load("T", 0));
    EXPECT_EQ(dict.Count(), 0);
    EXPECT_EQ(dict.WordAt(0), u"");
    EXPECT_EQ(dict.WordAt(-5), u"");
}

TEST_F(IDictTest, CutRecordsLoadWhatTheFileHolds) {
    // The last record says 40 bytes but the file ends after three of them.
    Course("Cut", Record("alpha") + Record("bet", 40).substr(0, 9));
    IDict dict;
    ASSERT_TRUE(dict.Load("Cut", 5));
    EXPECT_EQ(dict.WordAt(0), u"alpha");
    EXPECT_EQ(dict.WordAt(1), u"bet");
    EXPECT_EQ(dict.WordAt(2), u"");

    // Cut inside the length field: nothing more is read.
    Course("Short", Record("gamma") + std::string("\x01\x02\x03\x04\x05", 5));
    ASSERT_TRUE(dict.Load("Short", 3));
    EXPECT_EQ(dict.WordAt(0), u"gamma");
    EXPECT_EQ(dict.WordAt(1), u"");
}

TEST_F(IDictTest, MissingCourseSaysSoAndKeepsTheOldWords) {
    Course("Grade", Record("one") + Record("two"));
    IDict dict;
    dict.LoadCourse(0);  // "Grade" with its 900 words
    EXPECT_EQ(dict.Count(), 900);
    EXPECT_EQ(dict.WordAt(1), u"two");

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(dict.Load("GRE", 7));
    dict.LoadCourse(8);
    dict.LoadCourse(-1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::string path = dict.BaseFolder() + "GRE.ID";
    EXPECT_NE(said.find("[出错信息] 数据错误，找不到文件" + path + " 请重新安装数据"), std::string::npos) << said;
    EXPECT_EQ(said.find("数据错误", said.find("数据错误") + 1), std::string::npos) << "one message only";
    EXPECT_EQ(dict.Count(), 900);
    EXPECT_EQ(dict.WordAt(0), u"one");
}

// Damaged course files: random bytes, records far longer than any word, an empty file. None has
// a word a game can show, so each is refused as a missing one is: the message names it as
// damaged and the old words stay. Among good words, those too long for the game and those not in the code page
// are passed over.
TEST_F(IDictTest, DamagedCoursesAreRefusedLikeMissingOnesAndUnshowableWordsSkipped) {
    std::string random(85000, '\0');
    uint32_t state = 29;
    for (char& c : random) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    const std::string longRecord = Record(std::string(65535, 'a'));
    std::string huge;
    huge.reserve(100 * longRecord.size());
    for (int i = 0; i < 100; ++i) huge += longRecord;
    std::vector<std::string> damaged;
    damaged.push_back(std::move(random));
    damaged.push_back(std::move(huge));
    damaged.emplace_back();
    Course("Grade", Record("one") + Record("two"));
    IDict dict(30);
    dict.LoadCourse(0);
    for (const std::string& bytes : damaged) {
        Course("4W", bytes);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(dict.Load("4W", 4543));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("[出错信息] 数据错误，文件已损坏或无法读取：" + dict.BaseFolder() + "4W.ID 请重新安装数据"),
                  std::string::npos)
            << bytes.size() << " bytes: " << said;
        EXPECT_EQ(dict.Count(), 900);
        EXPECT_EQ(dict.WordAt(1), u"two");
    }
    // Two-byte characters count once: 30 of them fit, 16 of them and 15 letters do not; a lead
    // byte without its trail is not text.
    std::string zhong;
    for (int i = 0; i < 16; ++i) zhong += "\xd6\xd0";
    Course("Mixed", Record(std::string(31, 'x')) + Record("pear") + Record("b\x01") + Record("\xff\xfe") +
                        Record(std::string(30, 'y')) + Record("\xd6\xd0") + Record(zhong + std::string(15, 'z')) +
                        Record("ab\xd6") + Record("   ") + Record(" a") + Record("b ") +
                        Record(zhong + zhong.substr(4)));
    std::filesystem::rename(temp_.File("Data/English/T_WORD/Dictionary/Mixed.ID"),
                            temp_.File("Data/English/T_WORD/Dictionary/mIXED.id"));
    ASSERT_TRUE(dict.Load("Mixed", 4)) << "found as the desktop's file system finds it";
    EXPECT_EQ(dict.WordAt(0), u"pear");
    EXPECT_EQ(dict.WordAt(1), std::u16string(30, u'y'));
    EXPECT_EQ(dict.WordAt(2), u"中");
    EXPECT_EQ(dict.WordAt(3), std::u16string(30, u'中'));
}

}  // namespace
