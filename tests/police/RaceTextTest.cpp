// Race texts: the folder listing, reading the first line, the list's hit test, the key test and
// the typing window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/CodePage.h"
#include "police/RaceText.h"
#include "police/RaceTextList.h"
#include "police/TextFolder.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::u16string Letters(int length) {
    std::u16string s;
    for (int i = 0; i < length; ++i) s.push_back(static_cast<char16_t>(u'a' + i % 26));
    return s;
}

// Characters from..to, counted from 1.
std::u16string Chars(const std::u16string& s, int from, int to) { return s.substr(from - 1, to - from + 1); }

TEST(TypingWindow, ScrollsUnderTheCursorAndStopsForTheLastCharacters) {
    const std::u16string text = Letters(100);
    RaceText race;
    race.SetText(text);
    EXPECT_EQ(race.WindowRest(), Chars(text, 1, 70));
    race.MoveWindow(50);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 16, 50));
    EXPECT_EQ(race.WindowRest(), Chars(text, 51, 85));
    race.MoveWindow(80);
    EXPECT_EQ(race.WindowTyped(), Chars(text, 31, 80));
    EXPECT_EQ(race.WindowRest(), Chars(text, 81, 100));

    const std::u16string shorter = Letters(50);
    race.SetText(shorter);
    race.MoveWindow(40);
    EXPECT_EQ(race.WindowTyped(), Chars(shorter, 1, 40));
    EXPECT_EQ(race.WindowRest(), Chars(shorter, 41, 50));
}

TEST(TypingWindow, KeysMatchTheExactAnsiCode) {
    RaceText race;
    race.SetText(u"aA");
    EXPECT_TRUE(race.Matches(0, 'a'));
    EXPECT_FALSE(race.Matches(0, 'A'));
    EXPECT_FALSE(race.Matches(1, 'a'));
    EXPECT_FALSE(race.Matches(2, 'A'));  // past the end
    race.SetText(u"中\u20AC");           // "中" is D6 D0 in CP936; the euro sign has no code there
    EXPECT_TRUE(race.Matches(0, 0xD6D0));
    EXPECT_FALSE(race.Matches(1, '?'));
}

class TextFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = std::make_unique<testsupport::TempDir>("police-texts");
        dir_ = temp_->Path();
    }
    void TearDown() override { temp_.reset(); }
    void Write(const std::string& name, const std::string& bytes) { std::ofstream(dir_ / name) << bytes; }
    TextFolder Folder() const { return TextFolder(dir_.string() + "/"); }
    // Chooses the entry `name` and reads its text.
    std::u16string Read(RaceTextList& list, const std::u16string& name) const {
        for (size_t i = 0; i < list.Entries().size(); ++i) {
            if (list.Entries()[i] != name) continue;
            list.TextListID = static_cast<uint8_t>(i);
            return list.ReadChosen(Folder());
        }
        ADD_FAILURE() << "no such entry";
        return u"?";
    }
    std::unique_ptr<testsupport::TempDir> temp_;
    fs::path dir_;
};

TEST_F(TextFolderTest, ListsFilesSortedIgnoringCaseAndReadsTheirFirstLine) {
    RaceTextList list;
    list.Load(Folder());  // empty folder: one empty entry, an empty text
    ASSERT_EQ(list.Entries(), std::vector<std::u16string>{u""});
    EXPECT_EQ(list.ReadChosen(Folder()), u"");

    Write("spaces.txt", "\r\n \t\r\n\nThe quick fox.   \r\nsecond line\n");
    Write("long.txt", std::string(1500, 'k') + "\nsecond");
    Write("x.y.txt", "named up to its last dot");
    Write("empty.txt", "");
    Write("gbk.txt", "\xD6\xD0 x");
    Write("notes.md", "n");
    Write("Loud.TXT", "shouted");
    Write("Banana.Txt", "b");
    Write("_under.txt", "u");
    Write(".txt", "a hidden file, no name");
    fs::create_directories(dir_ / "folder.txt");
    list.Load(Folder());
    // Letters compare as capitals, so "_" (after "Z") comes last; no byte order, no file system
    // order. A file with nothing to type is left out.
    EXPECT_EQ(list.Entries(),
              (std::vector<std::u16string>{u"Banana", u"gbk", u"long", u"Loud", u"spaces", u"x.y", u"_under"}));
    EXPECT_EQ(Read(list, u"spaces"), u"The quick fox.");
    EXPECT_EQ(Read(list, u"long"), std::u16string(1024, u'k'));
    EXPECT_EQ(Read(list, u"x.y"), u"named up to its last dot");
    EXPECT_EQ(Read(list, u"gbk"), u"中 x");
    EXPECT_EQ(Read(list, u"Loud"), u"shouted");
    Write("X.Y.TXT", "found ignoring case");
    std::filesystem::remove(dir_ / "x.y.txt");
    EXPECT_EQ(Read(list, u"x.y"), u"found ignoring case");
    // A race's name is the chosen entry only while that entry holds the text raced.
    EXPECT_EQ(list.ChosenNameIfItHolds(Folder(), u"found ignoring case"), u"x.y");
    EXPECT_EQ(list.ChosenNameIfItHolds(Folder(), u"the host's text"), u"");
}

// A player's own text written on this desktop is UTF-8, often with typographic punctuation, and
// may hold bytes no code page reads: each is listed and read as the player sees it, and every
// character of it can be typed, so the race can always be finished.
TEST_F(TextFolderTest, UnicodeTextsAreReadAsWrittenAndEveryCharacterCanBeTyped) {
    Write("Caf\xC3\xA9.txt",
          "\xEF\xBB\xBFIt\xE2\x80\x99s a \xE2\x80\x9C\x63\x61\x66\xC3\xA9\xE2\x80\x9D day\xE2\x80\xA6 "
          "\xE4\xB8\xAD \xF0\x9F\x98\x80 \xE2\x80\x94 end");
    Write("broken.txt", "ab\xFF\x63\x64");
    Write("mark.txt", "\xEF\xBB\xBF\r\n\r\nafter a blank line\r\n");
    // Read up to its bound, which falls inside the last character.
    Write("cut.txt", "\xE4\xB8\xAD" + std::string(TextFolder::kMaxLineBytes - 4, 'a') + "\xE4\xB8\xAD");
    RaceTextList list;
    list.Load(Folder());
    ASSERT_EQ(list.Entries(), (std::vector<std::u16string>{u"broken", u"Caf\u00E9", u"cut", u"mark"}));
    EXPECT_EQ(Read(list, u"mark"), u"after a blank line");
    const std::u16string cafe = Read(list, u"Caf\u00E9");
    EXPECT_EQ(cafe, u"It's a \"caf\u00E9\" day... \u4E2D ? - end") << "an emoji is one key";
    EXPECT_EQ(Read(list, u"broken"), u"ab?cd");
    EXPECT_EQ(Read(list, u"cut"), u"\u4E2D" + std::u16string(1023, u'a'));
    RaceText text;
    text.SetText(cafe);
    for (int32_t i = 0; i < text.TextLength(); ++i) {
        EXPECT_GE(RaceText::AnsiCode(cafe[static_cast<size_t>(i)]), 0x20) << "character " << i;
    }
}

// The player's own folder of texts is listed with the shipped one, sorted together; a name in both
// is listed once and read from the player's folder; a missing own folder lists the shipped texts.
TEST_F(TextFolderTest, ThePlayersOwnTextsJoinTheShippedOnes) {
    Write("Beta.txt", "shipped beta");
    Write("delta.txt", "shipped delta");
    const fs::path own = dir_ / "own";
    fs::create_directories(own);
    std::ofstream(own / "alpha.txt") << "my alpha";
    std::ofstream(own / "DELTA.TXT") << "my delta";
    std::ofstream(own / "gamma.txt") << "my gamma";
    const TextFolder both(dir_.string() + "/", own.string() + "/");
    RaceTextList list;
    list.Load(both);
    EXPECT_EQ(list.Entries(), (std::vector<std::u16string>{u"alpha", u"Beta", u"DELTA", u"gamma"}));
    std::string line;
    ASSERT_TRUE(both.ReadFirstLine("delta.txt", line));
    EXPECT_EQ(line, "my delta");
    ASSERT_TRUE(both.ReadFirstLine("Beta.txt", line));
    EXPECT_EQ(line, "shipped beta");
    list.Load(TextFolder(dir_.string() + "/", (dir_ / "missing/").string()));
    EXPECT_EQ(list.Entries(), (std::vector<std::u16string>{u"Beta", u"delta"}));
}

// The list shows 21 rows; with more texts it scrolls, and every text can be chosen.
TEST_F(TextFolderTest, HitTestOfTheListAndItsScrolling) {
    for (int i = 0; i < 25; ++i) {
        std::string name = "t";
        name += std::to_string(i);
        name += ".txt";
        Write(name, "x");
    }
    RaceTextList list;
    list.Load(Folder());
    EXPECT_EQ(list.LastShown(), 20);
    EXPECT_EQ(list.Hit(600, 46), 0);
    EXPECT_EQ(list.Hit(600, 70), 1);
    EXPECT_EQ(list.Hit(600, 600), 20);
    list.TextListID = 7;
    EXPECT_EQ(list.Hit(575, 46), 7);  // left of the list: the choice stays

    list.Scroll(100);  // held within the list: its last entry on the last row
    EXPECT_EQ(list.FirstShown(), 4);
    EXPECT_EQ(list.Hit(600, 46), 4);
    EXPECT_EQ(list.Hit(600, 600), 24);
    EXPECT_EQ(list.LastShown(), 24);
    list.Choose(1);  // a choice above the rows brings it to the top
    EXPECT_EQ(list.FirstShown(), 1);
    list.Choose(99);
    EXPECT_EQ(list.TextListID, 24);
    EXPECT_EQ(list.FirstShown(), 4);
    list.Scroll(-100);
    EXPECT_EQ(list.FirstShown(), 0);
    list.Load(Folder());
    EXPECT_EQ(list.FirstShown(), 0);

    fs::remove_all(dir_);
    fs::create_directories(dir_);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) Write(name, "x");
    list.Load(Folder());
    EXPECT_EQ(list.Hit(600, 600), 2);  // below a short list: its last entry
    list.Scroll(5);
    EXPECT_EQ(list.FirstShown(), 0);

    // The chosen entry travels as one byte: the list stops at 256, the first in its order, even
    // where the folder holds more names than are ever looked at closely.
    for (int i = 0; i < 1200; ++i) Write("n" + std::to_string(1000 + i) + ".txt", "x");
    list.Load(Folder());
    ASSERT_EQ(list.Entries().size(), RaceTextList::kMaxEntries);
    EXPECT_EQ(list.Entries()[0], u"a");
    for (size_t i = 3; i < RaceTextList::kMaxEntries; ++i)
        ASSERT_EQ(list.Entries()[i], platform::FromUtf8("n" + std::to_string(1000 + i - 3))) << i;
}

TEST(ShippedTexts, EveryOneFitsTheListAndTheFirstIsGentle) {
    const TextFolder shipped(std::string(GLYPHOR_DIST_DIR) + "/Data/English/E_General/");
    RaceTextList list;
    list.Load(shipped);
    ASSERT_GE(list.LastIndex(), 1);
    EXPECT_LE(list.LastIndex(), RaceTextList::kLastRow) << "the shipped texts fit the list without scrolling";
    // The default text: plain words and punctuation, no digits or symbols.
    const std::u16string first = list.ReadChosen(shipped);
    ASSERT_FALSE(first.empty());
    for (char16_t c : first) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        EXPECT_TRUE(letter || std::u16string_view(u" .,;:'!?-").find(c) != std::u16string_view::npos)
            << "character " << static_cast<int>(c);
    }
}

}  // namespace
