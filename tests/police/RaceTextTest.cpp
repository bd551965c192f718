// Race texts: the folder listing, the hit test of the list, reading the first line, the key
// test and the typing window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "police/RaceText.h"
#include "police/RaceTextList.h"
#include "police/TextFolder.h"

namespace fs = std::filesystem;

namespace {

std::u16string Numbered(int length) {
    std::u16string s;
    for (int i = 0; i < length; ++i) s.push_back(static_cast<char16_t>(u'a' + i % 26));
    return s;
}

// Characters from..to of `s`, counted from 1.
std::u16string Chars(const std::u16string& s, int from, int to) {
    return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

TEST(TypingWindow, ScrollsUnderTheCursorAndStopsForTheLastCharacters) {
    const std::u16string text = Numbered(100);
    RaceText race;
    race.SetText(text);
    EXPECT_EQ(race.WindowTyped(), u"");
    EXPECT_EQ(race.WindowRest(), Chars(text, 1, 70));

    race.MoveWindow(20);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 1, 20));
    EXPECT_EQ(race.WindowRest(), Chars(text, 21, 70));
    race.MoveWindow(50);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 16, 50));
    EXPECT_EQ(race.WindowRest(), Chars(text, 51, 85));
    race.MoveWindow(80);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 31, 80));
    EXPECT_EQ(race.WindowRest(), Chars(text, 81, 100));
    race.MoveWindow(100);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 31, 100));
    EXPECT_EQ(race.WindowRest(), u"");

    const std::u16string shortText = Numbered(50);
    race.SetText(shortText);
    EXPECT_EQ(race.WindowRest(), shortText);
    race.MoveWindow(40);
    EXPECT_EQ(race.WindowTyped(), Chars(shortText, 1, 40));
    EXPECT_EQ(race.WindowRest(), Chars(shortText, 41, 50));
}

TEST(TypingWindow, KeysMatchTheExactAnsiCode) {
    RaceText race;
    race.SetText(u"a A,");
    EXPECT_TRUE(race.Matches(0, 'a'));
    EXPECT_FALSE(race.Matches(0, 'A'));
    EXPECT_TRUE(race.Matches(1, ' '));
    EXPECT_TRUE(race.Matches(2, 'A'));
    EXPECT_FALSE(race.Matches(2, 'a'));
    EXPECT_FALSE(race.Matches(3, 8));  // Backspace is just a wrong key
    EXPECT_TRUE(race.Matches(3, ','));
    EXPECT_FALSE(race.Matches(4, ','));  // past the end
    // A double-byte character is typed as lead*256+trail ("中" is D6 D0 in CP936).
    race.SetText(u"中");
    EXPECT_TRUE(race.Matches(0, 0xD6D0));
    EXPECT_FALSE(race.Matches(0, 0xD6));
    // A character the code page lacks matches no key, not even '?'.
    race.SetText(u"\u20AC?");
    EXPECT_FALSE(race.Matches(0, '?'));
    EXPECT_TRUE(race.Matches(1, '?'));
}

// A fresh text folder under the test's temporary directory.
class TextFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("police_texts_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    TextFolder Folder() const { return TextFolder(dir_.string() + "/"); }
    // Chooses the entry `name` and reads its text.
    std::u16string ReadEntry(RaceTextList& list, const std::u16string& name) const {
        for (size_t i = 0; i < list.Entries().size(); ++i) {
            if (list.Entries()[i] != name) continue;
            list.TextListID = static_cast<uint8_t>(i);
            return list.ReadChosen(Folder());
        }
        ADD_FAILURE() << "no entry";
        return u"<none>";
    }

    fs::path dir_;
};

TEST_F(TextFolderTest, ListsTxtFilesInFileSystemOrderByNameUpToTheFirstDot) {
    Write("beta.txt", "b");
    Write("alpha.txt", "a");
    Write("x.y.txt", "xy");
    Write("notes.md", "n");
    fs::create_directories(dir_ / "dir.txt");

    // The order the file system gives, not sorted.
    std::vector<std::string> expected;
    for (const auto& e : fs::directory_iterator(dir_)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file() && name.ends_with(".txt")) expected.push_back(name.substr(0, name.find('.')));
    }
    RaceTextList list;
    list.Load(Folder());
    ASSERT_EQ(list.Entries().size(), 3u);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.Entries()[i], std::u16string(expected[i].begin(), expected[i].end()));
    }

    // "x.y.txt" is listed as "x" and looked for as "x.txt", which does not exist.
    EXPECT_EQ(ReadEntry(list, u"x"), u"");
    EXPECT_EQ(ReadEntry(list, u"alpha"), u"a");
}

TEST_F(TextFolderTest, MissingOrEmptyFolderKeepsOneEmptyEntryAndAnEmptyText) {
    RaceTextList list;
    list.Load(Folder());
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0], u"");
    EXPECT_EQ(list.ReadChosen(Folder()), u"");

    list.Load(TextFolder((dir_ / "missing").string() + "/"));
    EXPECT_EQ(list.Entries().size(), 1u);

    Write("empty.txt", "");
    list.Load(Folder());
    EXPECT_EQ(list.Entries()[0], u"empty");
    EXPECT_EQ(list.ReadChosen(Folder()), u"");
}

TEST_F(TextFolderTest, ReadsTheFirstLineCutTo1024AndWithoutTrailingSpaces) {
    Write("spaces.txt", "The quick fox.   \r\nsecond line\n");
    Write("long.txt", std::string(1500, 'k') + "\nsecond");
    Write("gbk.txt", "\xD6\xD0 x\n");
    RaceTextList list;
    list.Load(Folder());
    EXPECT_EQ(ReadEntry(list, u"spaces"), u"The quick fox.");
    EXPECT_EQ(ReadEntry(list, u"long"), std::u16string(1024, u'k'));
    EXPECT_EQ(ReadEntry(list, u"gbk"), u"中 x");
    // Only trailing spaces go; leading spaces and other blanks stay.
    EXPECT_EQ(RaceTextList::FitLine("  a\t "), u"  a\t");
    EXPECT_EQ(RaceTextList::FitLine("    "), u"");
}

TEST_F(TextFolderTest, HitTestOfTheList) {
    for (int i = 0; i < 25; ++i) Write("t" + std::to_string(i) + ".txt", "x");
    RaceTextList list;
    list.Load(Folder());
    ASSERT_EQ(list.LastIndex(), 24);
    EXPECT_EQ(list.LastShown(), 20);

    EXPECT_EQ(list.Hit(600, 46), 0);
    EXPECT_EQ(list.Hit(600, 45), 0);
    EXPECT_EQ(list.Hit(600, 70), 1);
    EXPECT_EQ(list.Hit(600, 545), 20);
    EXPECT_EQ(list.Hit(600, 600), 20);  // row 22: held to the last shown row
    list.TextListID = 7;
    EXPECT_EQ(list.Hit(575, 46), 7);    // left of the list: the choice stays
    EXPECT_EQ(list.Hit(575, 300), 7);

    // Three entries: below the list the last index.
    RaceTextList small;
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Write("a.txt", "a");
    Write("b.txt", "b");
    Write("c.txt", "c");
    small.Load(Folder());
    EXPECT_EQ(small.Hit(600, 600), 2);
    EXPECT_EQ(small.Hit(600, 95), 2);
    EXPECT_EQ(small.Hit(600, 94), 1);
}

}  // namespace
