#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Random.h"
#include "wordgames/FrogRiver.h"
#include "wordgames/FrogWordSource.h"

namespace {

// Words 12 pixels a character wide, so eight characters or more are too wide for a leaf.
class ListWords : public FrogWordSource {
public:
    explicit ListWords(std::vector<std::u16string> words, int32_t count = -1)
        : words_(std::move(words)), count_(count < 0 ? static_cast<int32_t>(words_.size()) : count) {}
    int32_t Count() const override { return count_; }
    std::u16string WordAt(int32_t index) const override {
        ++reads;
        return index < static_cast<int32_t>(words_.size()) ? words_[index] : std::u16string();
    }
    int32_t Width(const std::u16string& word) override { return static_cast<int32_t>(word.size()) * 12; }
    mutable int64_t reads = 0;

private:
    std::vector<std::u16string> words_;
    int32_t count_;
};

ListWords Alphabet() {
    std::vector<std::u16string> words;
    for (char16_t c = u'a'; c <= u'z'; ++c) words.push_back(std::u16string(1, c) + u"og");
    return ListWords(words);
}

void Type(FrogRiver& river, const std::u16string& text, FrogWordSource& words) {
    for (char16_t c : text) river.KeyPress(c, words);
}

class FrogRiverTest : public ::testing::Test {
protected:
    void SetUp() override { platform::Random::Seed(3); }
    FrogRiver river;
    ListWords words = Alphabet();
};

TEST_F(FrogRiverTest, LeavesDriftAtTheLevelSpeedAndWrapAtBothEdges) {
    river.Start(0, words);
    EXPECT_FLOAT_EQ(river.Speed(), 0.4F);
    EXPECT_FLOAT_EQ(river.At(0).DeltaX, -0.4F);
    EXPECT_FLOAT_EQ(river.At(4).DeltaX, 0.4F);
    EXPECT_FLOAT_EQ(river.At(8).DeltaX, -0.4F);
    river.Edit(0).X = -147.7F;
    river.Edit(1).X = -147.5F;
    river.Edit(3).X = 799.7F;
    river.Tick();
    EXPECT_FLOAT_EQ(river.At(0).X, 800.0F);
    EXPECT_FLOAT_EQ(river.At(1).X, -147.9F);
    EXPECT_FLOAT_EQ(river.At(3).X, -148.0F);
    EXPECT_FLOAT_EQ(river.At(9).X, 425.0F);
}

TEST_F(FrogRiverTest, AWordIsChosenByItsExactFirstCodeAndWrongLettersAreIgnored) {
    river.Start(0, words);
    river.Edit(0).Word = u"Bird";
    river.Edit(1).Word = u"bat";
    river.Edit(2).Word = u"cow";
    river.KeyPress(u'x', words);
    EXPECT_EQ(river.TargetLeaf(), FrogRiver::kNearBank);
    river.KeyPress(u'B', words);
    EXPECT_EQ(river.TargetLeaf(), 0);
    Type(river, u"xIRq", words);
    EXPECT_EQ(river.TypedPart(), u"B");
    EXPECT_EQ(river.RestPart(), u"ird");
    Type(river, u"ir", words);
    EXPECT_EQ(river.KeyPress(u'd', words), FrogRiver::Event::kJumped);
    EXPECT_EQ(river.FrogLeaf(), 0);
    EXPECT_TRUE(river.At(0).Done);
    // A one-letter word is done with the letter that chooses it.
    river.Edit(3).Word = u"y";
    EXPECT_EQ(river.KeyPress(u'y', words), FrogRiver::Event::kJumped);
    EXPECT_EQ(river.FrogLeaf(), 3);
}

TEST_F(FrogRiverTest, EscGivesUpOnlyAWordInProgress) {
    river.Start(0, words);
    river.KeyPress(27, words);
    EXPECT_EQ(river.FrogLeaf(), FrogRiver::kNearBank);
    EXPECT_EQ(river.TargetLeaf(), FrogRiver::kNearBank);
    river.Edit(0).Word = u"reed";
    river.Edit(1).Word = u"mud";
    river.Edit(2).Word = u"lily";
    Type(river, u"mu", words);
    EXPECT_EQ(river.TargetLeaf(), 1);
    river.KeyPress(27, words);
    EXPECT_EQ(river.TargetLeaf(), FrogRiver::kNearBank);
    EXPECT_EQ(river.RestPart(), u"");
    // The target drifting off the screen gives the word up too.
    Type(river, u"mu", words);
    river.Edit(1).X = -147.9F;
    river.Tick();
    EXPECT_EQ(river.TargetLeaf(), FrogRiver::kNearBank);
}

TEST_F(FrogRiverTest, AFrogWhoseLeafDriftsOffFallsBackOneRow) {
    river.Start(0, words);
    for (int32_t n = 0; n < 9; ++n) river.Edit(n).Word = std::u16string(1, static_cast<char16_t>(u'a' + n)) + u"x";
    Type(river, u"ax", words);  // leaf 0
    Type(river, u"ex", words);  // leaf 4, middle row
    ASSERT_EQ(river.FrogLeaf(), 4);
    // The lowest row drifts left: the leaf with the longest way to the left edge is the rightmost.
    river.Edit(0).X = 100;
    river.Edit(1).X = 600;
    river.Edit(2).X = 300;
    river.Edit(4).X = 799.9F;
    EXPECT_EQ(river.Tick(), FrogRiver::Event::kFellBack);
    EXPECT_EQ(river.FrogLeaf(), 1);
    EXPECT_EQ(river.TargetLeaf(), 1);
    EXPECT_FALSE(river.At(4).Done);
    EXPECT_TRUE(river.At(0).Done);

    river.Edit(1).X = -147.9F;
    EXPECT_EQ(river.Tick(), FrogRiver::Event::kFellBack);
    EXPECT_EQ(river.FrogLeaf(), FrogRiver::kNearBank);
    EXPECT_FALSE(river.At(0).Done);
}

TEST_F(FrogRiverTest, FiveCrossingsPassTheRound) {
    river.Start(0, words);
    for (int crossing = 0; crossing < 5; ++crossing) {
        ASSERT_FALSE(river.Passed());
        for (int32_t leaf : {0, 3, 6, 9}) {
            Type(river, river.At(leaf).Word, words);
            if (leaf < 9) {
                ASSERT_EQ(river.FrogLeaf(), leaf);
            }
        }
        EXPECT_EQ(river.FrogLeaf(), FrogRiver::kNearBank);
        EXPECT_EQ(river.CrossingsLeft(), 3 - crossing);
    }
    EXPECT_TRUE(river.Passed());
}

TEST_F(FrogRiverTest, ALayoutFollowsTheWordRulesAndStaysBoundedWhenTheCourseLacksFittingWords) {
    river.Start(0, words);
    for (int32_t row = 0; row < 9; row += 3) {
        EXPECT_NE(river.At(row).Word[0], river.At(row + 1).Word[0]);
        EXPECT_NE(river.At(row).Word[0], river.At(row + 2).Word[0]);
        EXPECT_NE(river.At(row + 1).Word[0], river.At(row + 2).Word[0]);
    }
    EXPECT_EQ(river.At(0).TextOffset, (105 - 36) / 2 + 21);

    // Courses that lack fitting words: every leaf reads a bounded number of words and takes the
    // best one it saw.
    ListWords oneLetter({u"a", u"b", u"c"}), oneStart({u"ant", u"apt"}), wide({u"wonderful"});
    ListWords mostlyEmpty({u"", u"toad"}, 5000), empty({}, 3000);
    for (ListWords* course : {&oneLetter, &oneStart, &wide, &mostlyEmpty, &empty}) {
        FrogRiver lean;
        lean.Start(0, *course);
        EXPECT_LE(course->reads, 10 * (FrogRiver::kRandomDraws + course->Count() + 1));
    }
    FrogRiver sparse;
    sparse.Start(0, mostlyEmpty);
    EXPECT_EQ(sparse.At(FrogRiver::kFarBank).Word, u"toad");
    FrogRiver single;
    single.Start(0, oneLetter);
    EXPECT_NE(single.At(0).Word, single.At(1).Word);
    EXPECT_NE(single.At(1).Word, single.At(2).Word);
}

}  // namespace
