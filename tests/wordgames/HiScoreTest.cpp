// The high-score table: the bar of empty slots, the hidden tenth slot, equal scores, the file
// written and read back, and files that are short, cut or carry a count out of range.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ProgramFolder.h"
#include "tests/support/TempDir.h"
#include "wordgames/HiScore.h"

namespace {

std::string Int32(int32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(static_cast<uint32_t>(value) >> shift);
    return out;
}
std::string Record(int32_t score, const std::string& name, size_t length) {
    return Int32(score) + static_cast<char>(length & 0xFF) + static_cast<char>(length >> 8) + name;
}
std::string Record(int32_t score, const std::string& name) { return Record(score, name, name.size()); }

class HiScoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetProgramFolder(temp_.Path());
        std::filesystem::create_directories(temp_.File("Game"));
    }
    testsupport::TempDir temp_{"glyphor-hiscore"};
};

TEST_F(HiScoreTest, EmptySlotsCountZeroAndTheTenthSlotBecomesTheBar) {
    HiScore table;
    EXPECT_FALSE(table.Qualifies(0));
    EXPECT_TRUE(table.Qualifies(1));
    EXPECT_EQ(table.EntryAt(-1).Name, u"");
    EXPECT_EQ(table.EntryAt(0).Name, u"");

    for (int32_t i = 1; i <= 9; ++i) table.Insert(u"p" + std::u16string(1, static_cast<char16_t>(u'0' + i)), i * 100);
    EXPECT_EQ(table.EntryCount(), 9);
    EXPECT_EQ(table.EntryAt(0).Score, 900);
    EXPECT_EQ(table.EntryAt(8).Score, 100);
    EXPECT_EQ(table.EntryAt(9).Score, 0);  // not shown
    EXPECT_TRUE(table.Qualifies(1));

    // The former ninth entry drops into slot 9 and becomes the bar.
    table.Insert(u"new", 150);
    EXPECT_EQ(table.EntryCount(), 9);
    EXPECT_EQ(table.EntryAt(8).Score, 150);
    EXPECT_FALSE(table.Qualifies(100));
    EXPECT_TRUE(table.Qualifies(101));

    // An equal score goes after the older entries with that score.
    table.Insert(u"later", 500);
    EXPECT_EQ(table.EntryAt(4).Name, u"p5");
    EXPECT_EQ(table.EntryAt(5).Name, u"later");
}

TEST_F(HiScoreTest, SavesAllTenSlotsInTheCodePageAndReadsThemBack) {
    HiScore table;
    table.Insert(u"英雄", 3000);
    table.Insert(u"a\u0e01b", 2000);  // the Thai letter is not in the code page
    ASSERT_TRUE(table.SaveTable(kHiScoreFile));

    // An older, longer file is replaced whole.
    const std::string bytes = temp_.Read("Game/space.hi");
    std::string expected = Int32(2) + Record(3000, "\xD3\xA2\xD0\xDB") + Record(2000, "a?b");
    for (int i = 0; i < 8; ++i) expected += Record(0, "");
    EXPECT_EQ(bytes, expected);
    temp_.Write("Game/space.hi", bytes + std::string(100, 'x'));
    ASSERT_TRUE(table.SaveTable(kHiScoreFile));
    EXPECT_EQ(temp_.Read("Game/space.hi"), expected);

    HiScore loaded;
    ASSERT_TRUE(loaded.LoadTable(kHiScoreFile));
    EXPECT_EQ(loaded.EntryCount(), 2);
    EXPECT_EQ(loaded.EntryAt(0).Name, u"英雄");
    EXPECT_EQ(loaded.EntryAt(1).Score, 2000);
    EXPECT_FALSE(HiScore().LoadTable("\\Game\\none.hi"));
}

TEST_F(HiScoreTest, DamagedFilesLoadWhatTheyHold) {
    HiScore table;
    table.Insert(u"old", 7);

    // A count past nine is clamped; a name length past the end is cut at the end.
    temp_.Write("Game/space.hi", Int32(40) + Record(900, "ab") + Record(800, "cd", 5000));
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    EXPECT_EQ(table.EntryCount(), 9);
    EXPECT_EQ(table.EntryAt(0).Name, u"ab");
    EXPECT_EQ(table.EntryAt(1).Name, u"cd");
    EXPECT_EQ(table.EntryAt(2).Score, 0);

    // A negative count is clamped to 0; a cut record leaves its slot empty.
    temp_.Write("Game/space.hi", Int32(-3) + Record(900, "ab") + "\x05\x00");
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    EXPECT_EQ(table.EntryCount(), 0);
    EXPECT_FALSE(table.Qualifies(0));

    temp_.Write("Game/space.hi", "\x01");
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    EXPECT_EQ(table.EntryCount(), 0);
    EXPECT_TRUE(table.Qualifies(1));
}

}  // namespace
