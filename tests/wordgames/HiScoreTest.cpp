// The high-score table: the bar of empty slots, the hidden tenth slot, equal scores, the file
// written and read back, damaged files refused, a save that fails, and copies saving at once.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PlayerFiles.h"
#include "platform/ProgramFolder.h"
#include "results/HiScore.h"
#include "tests/support/TempDir.h"

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

    // What an older save left after the ten records is read past, not taken for damage.
    temp_.Write("Game/space.hi", expected + "\x05\x00ab");
    HiScore loaded;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(loaded.LoadTable(kHiScoreFile));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(loaded.EntryCount(), 2);
    EXPECT_EQ(loaded.EntryAt(0).Name, u"英雄");
    EXPECT_EQ(loaded.EntryAt(1).Score, 2000);
    EXPECT_FALSE(HiScore().LoadTable("\\Game\\none.hi"));
}

// A table whose records do not parse is refused whole: an empty table, one warning, and the
// file kept as "space.hi.damaged" when the next entry replaces it; each later damaged table is
// kept under a name of its own, never over an earlier one.
TEST_F(HiScoreTest, ADamagedTableIsRefusedAndKeptAsDamagedByTheNextSave) {
    std::string slots;
    for (int i = 0; i < HiScore::kSlots; ++i) slots += Record(900 - i, "ab");
    const std::string damaged[] = {
        Int32(40) + slots,                                       // a count past nine
        Int32(-3) + slots,                                       // a negative count
        Int32(2) + Record(900, "ab") + Record(800, "cd", 5000),  // a name past the end
        Int32(1) + slots.substr(0, slots.size() - 1),            // the last record cut
        Int32(1) + Record(900, "\x81\x0a") + slots.substr(8),    // a name that is not text
        "\x01",
        "",
    };
    int kept = 0;
    for (const std::string& bytes : damaged) {
        const std::string aside = "Game/space.hi.damaged" + (kept++ == 0 ? "" : "-" + std::to_string(kept));
        temp_.Write("Game/space.hi", bytes);
        HiScore table;
        table.Insert(u"old", 7);
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(table.LoadTable(kHiScoreFile));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(table.EntryCount(), 0) << bytes.size() << " bytes";
        EXPECT_EQ(table.EntryAt(0).Name, u"");
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(table.Enter(kHiScoreFile, u"Ann", 50));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(temp_.Read(aside), bytes);
        EXPECT_NE(said.find(aside), std::string::npos) << said;
        HiScore again;
        ASSERT_TRUE(again.LoadTable(kHiScoreFile));
        ASSERT_EQ(again.EntryCount(), 1);
        EXPECT_EQ(again.EntryAt(0).Name, u"Ann");
    }
    // A whole table is no damage.
    temp_.Write("Game/space.hi", Int32(3) + slots);
    HiScore table;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(table.EntryCount(), 3);
}

// A table that cannot be written (read-only here) keeps the new entries for the rest of the run,
// also when the screen reads the file again, and the player is told once, with the reason.
TEST_F(HiScoreTest, AnEntryThatCannotBeSavedStaysForTheRunAndThePlayerIsToldOnce) {
    std::string slots = Record(900, "Zed");
    for (int i = 1; i < HiScore::kSlots; ++i) slots += Record(0, "");
    temp_.Write("Game/space.hi", Int32(1) + slots);
    const std::string path = platform::PlayerDataFolder() + kHiScoreFile;
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    HiScore table;
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(table.Enter(kHiScoreFile, u"Ann", 500));
    EXPECT_FALSE(table.Enter(kHiScoreFile, u"Ben", 400));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("最高分无法保存：" + path + "\nthe file is read-only"), std::string::npos) << said;
    EXPECT_EQ(said.find("最高分", said.find("最高分") + 1), std::string::npos) << "told once: " << said;
    for (int reload = 0; reload < 2; ++reload) {
        ASSERT_EQ(table.EntryCount(), 3);
        EXPECT_EQ(table.EntryAt(0).Name, u"Zed");
        EXPECT_EQ(table.EntryAt(1).Name, u"Ann");
        EXPECT_EQ(table.EntryAt(2).Name, u"Ben");
        ASSERT_TRUE(table.LoadTable(kHiScoreFile));  // the screen opened again
    }
    EXPECT_EQ(temp_.Read("Game/space.hi"), Int32(1) + slots);

    // Once the file can be written the entries kept go in with the next one.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    EXPECT_TRUE(table.Enter(kHiScoreFile, u"Cy", 300));
    HiScore again;
    ASSERT_TRUE(again.LoadTable(kHiScoreFile));
    EXPECT_EQ(again.EntryCount(), 4);
}

// Copies of the program ending their games at the same moment each keep their entry: every save
// reads the table again under the folder's lock and inserts into what it finds.
TEST_F(HiScoreTest, CopiesEndingAtOnceKeepEachOthersEntries) {
    constexpr int kCopies = 8;
    const std::string go = temp_.File("go");
    std::vector<pid_t> copies;
    for (int i = 0; i < kCopies; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            HiScore table;
            table.LoadTable(kHiScoreFile);  // each saw the same (missing) table
            while (!std::filesystem::exists(go)) usleep(100);
            _exit(table.Enter(kHiScoreFile, std::u16string(1, static_cast<char16_t>(u'A' + i)), 100 + i) ? 0 : 1);
        }
        copies.push_back(pid);
    }
    temp_.Write("go", "");
    for (pid_t pid : copies) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HiScore table;
    ASSERT_TRUE(table.LoadTable(kHiScoreFile));
    ASSERT_EQ(table.EntryCount(), kCopies);
    for (int i = 0; i < kCopies; ++i) {
        EXPECT_EQ(table.EntryAt(i).Name, std::u16string(1, static_cast<char16_t>(u'A' + kCopies - 1 - i)));
    }
}

}  // namespace
